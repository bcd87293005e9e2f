#!/bin/sh
# Installs what is missing, builds Pigmora with its tests and runs them (offscreen: no display
# needed). Fails when a test fails.
#   BUILD_DIR   build directory (default: build)
#   CMAKE_ARGS  further CMake options, e.g. "-DPIGMORA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug"
# With --install-only it only installs what is missing.
set -eu
cd "$(dirname "$0")/.."
# The install test validates the desktop entry and the AppStream file; the export test reads
# the CSS with a real CSS parser (tinycss2, for Debian's python3); the consumers' test lays the
# CSS export out in Chromium and builds the token export with Style Dictionary, which npm
# installs from its lock file. The eyedropper is tested on a real X server (Xvfb, the pointer
# moved by xdotool) with a window manager (jwm, found by xprop of x11-utils) and on a headless
# Weston with Qt's Wayland plugin, against a stand-in portal (python3-dbus, python3-gi) on a
# private session bus, and against the real portal frontend (xdg-desktop-portal) with a stand-in
# backend. A screen reader's view is checked through
# AT-SPI (at-spi2-core's accessibility bus, python3-pyatspi as the client). The page audit draws
# its test pages in Chromium and has its SARIF checked by python3-jsonschema.
# Debian's npm only where no npm came with node (a nodejs package from elsewhere brings its own).
npm=""
command -v npm >/dev/null 2>&1 || npm=npm
./scripts/install-deps.sh desktop-file-utils appstream python3-tinycss2 chromium nodejs $npm \
    xvfb xdotool weston qt6-wayland dbus-daemon dbus-bin python3-dbus python3-gi \
    at-spi2-core python3-pyatspi jwm x11-utils xdg-desktop-portal python3-jsonschema
[ "${1:-}" = --install-only ] && exit 0
build="${BUILD_DIR:-build}"
# shellcheck disable=SC2086 # CMAKE_ARGS is meant to split into words
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON ${CMAKE_ARGS:-}
cmake --build "$build" -j2
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
