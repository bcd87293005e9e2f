#!/bin/sh
# Runs a command in a Wayland session of its own: a private session bus and a headless Weston
# compositor under a private XDG_RUNTIME_DIR, both ended with the command. The bus has a
# configuration of its own whose only service folder is the session's (empty) one, so no
# service installed on the machine (the desktop portal, say) can be started on it.
# Fails when one of them is missing or does not start.
#   with_wayland.sh COMMAND [ARGUMENTS...]
set -eu
for program in dbus-daemon weston; do
    if ! command -v "$program" >/dev/null 2>&1; then
        echo "with_wayland.sh: $program fehlt (Debian-Pakete dbus-daemon, weston)" >&2
        exit 1
    fi
done
dir=$(mktemp -d)
chmod 700 "$dir"
bus=""
compositor=""
trap 'kill $compositor $bus 2>/dev/null; wait 2>/dev/null; rm -rf "$dir"' EXIT

. "$(dirname "$0")/private_bus.sh"
write_private_bus_config "$dir" "unix:path=$dir/bus"
dbus-daemon --config-file="$dir/bus.conf" --nofork --print-address=3 --print-pid=4 \
    3>"$dir/address" 4>"$dir/pid" &
bus=$!
XDG_RUNTIME_DIR="$dir"
export XDG_RUNTIME_DIR
socket="pigmora-$$"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 --no-config \
    >"$dir/weston.log" 2>&1 &
compositor=$!
tries=0
while [ ! -s "$dir/address" ] || [ ! -S "$dir/$socket" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$bus" 2>/dev/null || ! kill -0 "$compositor" 2>/dev/null
    then
        echo "with_wayland.sh: the session bus or Weston did not start:" >&2
        cat "$dir/weston.log" >&2
        exit 1
    fi
    sleep 0.1
done
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$dir/address")
WAYLAND_DISPLAY="$socket"
export DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY
unset DISPLAY
QT_QPA_PLATFORM=wayland "$@"
