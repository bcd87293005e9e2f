#!/bin/sh
# Runs a command on an X server of its own: Xvfb on a free display (-displayfd), with one screen
# of the given size, ended with the command, outside any Wayland session the caller runs in (so
# the program picks on X11 itself). With --wm a window manager runs on it too (JWM, with a
# configuration of its own: click to focus, no panel), as on a desktop. Fails when Xvfb or the
# window manager is missing or does not start. The command gets no session bus (Qt's accessibility
# bridge asks for one on X11; libdbus would otherwise try to start one, which depends on what the
# machine has installed and leaks when it fails).
#   with_xvfb.sh [--wm] WIDTHxHEIGHT COMMAND [ARGUMENTS...]
set -eu
wm=""
if [ "$1" = --wm ]; then
    wm=1
    shift
fi
size=$1
shift
for program in Xvfb ${wm:+jwm}; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "with_xvfb.sh: $program fehlt (Debian-Pakete xvfb, jwm)" >&2
        exit 1
    fi
done
dir=$(mktemp -d)
manager=""
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill $manager "$server" 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT
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
DBUS_SESSION_BUS_ADDRESS=disabled:
export DBUS_SESSION_BUS_ADDRESS
if [ -n "$wm" ]; then
    cat >"$dir/jwmrc" <<'CONFIG'
<?xml version="1.0"?>
<JWM>
    <FocusModel>click</FocusModel>
    <Desktops width="1" height="1"/>
</JWM>
CONFIG
    HOME="$dir" jwm -f "$dir/jwmrc" >"$dir/wm.log" 2>&1 &
    manager=$!
    # The window manager is there once it has taken the root window's events
    # (_NET_SUPPORTING_WM_CHECK).
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$manager" 2>/dev/null; then
            echo "with_xvfb.sh: the window manager did not start:" >&2
            cat "$dir/wm.log" >&2
            exit 1
        fi
        sleep 0.1
    done
fi
QT_QPA_PLATFORM=xcb "$@"
