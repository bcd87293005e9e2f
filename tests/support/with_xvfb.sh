#!/bin/sh
# Runs a command on an X server of its own: Xvfb on a free display (-displayfd), with one screen
# of the given size, ended with the command, outside any Wayland session the caller runs in (so
# the program picks on X11 itself). Fails when Xvfb is missing or does not start.
#   with_xvfb.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
set -eu
size=$1
shift
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with_xvfb.sh: Xvfb fehlt (Debian-Paket xvfb)" >&2
    exit 1
fi
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
tries=0
while [ ! -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "with_xvfb.sh: Xvfb did not start:" >&2
        cat "$dir/log" >&2
        exit 1
    fi
    sleep 0.1
done
DISPLAY=":$(head -n 1 "$dir/display")"
export DISPLAY
unset WAYLAND_DISPLAY XDG_SESSION_TYPE
QT_QPA_PLATFORM=xcb "$@"
