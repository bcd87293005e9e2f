#!/bin/sh
# Runs a command as a desktop session with a screen reader has it: a private session bus
# (dbus-run-session) with the accessibility bus of at-spi2-core on it, told that a screen reader
# runs (org.a11y.Status.ScreenReaderEnabled, as Orca sets it), so Qt programs started by the
# command serve AT-SPI. The session bus has a configuration of its own whose only service folder
# is the session's (empty) one, so no service installed on the machine can be started on it.
# Settings and sockets go to a folder of its own; everything ends with the command. Fails when a
# part is missing or does not start.
#   with_atspi.sh COMMAND [ARGUMENTS...]
set -eu
launcher=/usr/libexec/at-spi-bus-launcher
for part in dbus-run-session dbus-send "$launcher"; do
    if ! command -v "$part" >/dev/null 2>&1; then
        echo "with_atspi.sh: $part fehlt (Debian-Pakete dbus-daemon, dbus-bin, at-spi2-core)" >&2
        exit 1
    fi
done
dir=$(mktemp -d)
chmod 700 "$dir"
trap 'rm -rf "$dir"' EXIT
XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir" XDG_CACHE_HOME="$dir/cache"
export XDG_CONFIG_HOME XDG_RUNTIME_DIR XDG_CACHE_HOME
# The launcher keeps the screen-reader switch in GSettings: in memory, as no dconf runs here.
GSETTINGS_BACKEND=memory
export GSETTINGS_BACKEND
. "$(dirname "$0")/private_bus.sh"
write_private_bus_config "$dir" "unix:tmpdir=$dir"
status=0
dbus-run-session --config-file="$dir/bus.conf" -- sh -c '
    launcher=$1
    shift
    "$launcher" --launch-immediately &
    bus=$!
    a11y() {
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
            org.freedesktop.DBus.Properties."$@" 2>/dev/null
    }
    tries=0
    until a11y Set string:org.a11y.Status string:ScreenReaderEnabled variant:boolean:true \
            >/dev/null; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ] || ! kill -0 "$bus" 2>/dev/null; then
            echo "with_atspi.sh: the accessibility bus did not start" >&2
            exit 1
        fi
        sleep 0.1
    done
    status=0
    "$@" || status=$?
    kill "$bus" 2>/dev/null
    wait "$bus" 2>/dev/null || true
    exit "$status"
' sh "$launcher" "$@" || status=$?
exit "$status"
