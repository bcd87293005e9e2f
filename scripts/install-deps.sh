#!/bin/sh
# Installs the Debian packages that building and running Pigmora need, and only those that are
# missing, so it is quick and harmless to run again. Extra package names may be given.
set -eu

packages="cmake make g++ qt6-base-dev qt6-translations-l10n libsqlite3-dev zlib1g-dev
    fonts-liberation pkg-config libxcb1-dev $*"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing:$missing"
# One package list update serves the calls of the next hour (CI installs in several steps).
stamp="${TMPDIR:-/tmp}/pigmora-apt-updated"
if [ -z "$(find "$stamp" -mmin -60 2>/dev/null)" ]; then
    $sudo apt-get update
    touch "$stamp"
fi
# shellcheck disable=SC2086 # the list is meant to split into words
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing
