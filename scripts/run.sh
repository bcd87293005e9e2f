#!/bin/sh
# Installs what is missing, builds the Release version and starts Pigmora.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build --target pigmora -j2
exec ./build/pigmora
