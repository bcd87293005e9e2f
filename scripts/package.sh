#!/bin/sh
# Builds the Release version and the Debian package build/pigmora_<version>_<arch>.deb.
# With --install-only it only installs what is missing.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh dpkg-dev
[ "${1:-}" = --install-only ] && exit 0
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --target pigmora pigmora-schemes -j2
(cd build && cpack -G DEB)
