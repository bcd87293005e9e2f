#!/bin/sh
# Builds the Release version with its benchmarks and runs them; tables go to bench/results/.
#   RUNS  runs per measurement (default 5)
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPIGMORA_BENCH=ON
cmake --build build -j2 --target pigmora_startup_probe pigmora_bench_startup pigmora_bench_commands
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_startup \
    ./build/bench/pigmora_startup_probe bench/results "${RUNS:-5}"
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_commands bench/results "${RUNS:-5}"
