#!/bin/sh
# Builds the Release version and the Debian package build/pigmora_<version>_<arch>.deb.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh dpkg-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --target pigmora pigmora-schemes -j2
(cd build && cpack -G DEB)
