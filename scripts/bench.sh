#!/bin/sh
# Builds the Release version with its benchmarks and runs them; tables go to bench/results/.
# Start-up is measured offscreen and under Xvfb (a real X server without a screen), each time
# beside the floor program in bench/floor/. The exchange formats and pigmora-schemes are measured
# on a file of 100,000 schemes. The eyedropper is measured under Xvfb on one 3840 x 2160 screen.
# The CSS colour reader is measured beside color.js, where npm can install it (bench/colorjs,
# pinned by its lock file). The page audit runs on pages of 1,000 and 30,000 paragraphs. A design
# system of 3,000 colours and 40,000 aliases is imported by pigmora-schemes (bench_design_system).
#   RUNS  rounds of the start-up benchmark and runs of each scheme command and exchange (default 9)
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh xvfb xauth
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPIGMORA_BENCH=ON
cmake --build build -j2 --target pigmora_startup_probe pigmora_startup_floor \
    pigmora_bench_startup pigmora_bench_commands pigmora_bench_contrast pigmora-schemes \
    pigmora_bench_exchange pigmora_bench_exchange_window pigmora_bench_eyedropper \
    pigmora_bench_css_colour pigmora_bench_page_audit pigmora_bench_raster \
    pigmora_bench_design_system
runs="${RUNS:-9}"
startup="./build/bench/pigmora_bench_startup ./build/bench/pigmora_startup_probe \
    ./build/bench/pigmora_startup_floor bench/results $runs"
# shellcheck disable=SC2086 # $startup is meant to split into words
QT_QPA_PLATFORM=offscreen $startup
# shellcheck disable=SC2086
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" $startup
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_commands bench/results "$runs"
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_contrast bench/results
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_exchange ./build/pigmora-schemes bench/results \
    "$runs"
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_exchange_window bench/results "$runs"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 3840x2160x24" \
    ./build/bench/pigmora_bench_eyedropper bench/results "$runs"
if command -v npm >/dev/null 2>&1; then
    (cd bench/colorjs && npm ci --no-audit --no-fund) || echo "colorjs.io not installed; measured without it"
fi
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_css_colour ./build/pigmora-schemes bench/colorjs \
    bench/results "$runs"
QT_QPA_PLATFORM=offscreen ./build/bench/pigmora_bench_raster ./build/pigmora-schemes bench/results "$runs"
./build/bench/pigmora_bench_design_system ./build/pigmora-schemes bench/results "$runs"
# The page audit needs Debian's chromium (scripts/test.sh installs it).
./build/bench/pigmora_bench_page_audit ./build/pigmora-schemes bench/results "${AUDIT_RUNS:-3}"
