#!/bin/sh
# Checks the Debian package: its contents, that apt installs it with its dependencies, that the
# installed files pass the validators, and that removing it leaves nothing behind. Needs root;
# meant for CI, which runs on a throw-away machine.
# usage: check_package.sh <package.deb>
set -eu
deb=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }

expected="./usr/bin/pigmora
./usr/bin/pigmora-schemes
./usr/share/applications/org.example.pigmora.desktop
./usr/share/icons/hicolor/128x128/apps/org.example.pigmora.png
./usr/share/icons/hicolor/16x16/apps/org.example.pigmora.png
./usr/share/icons/hicolor/32x32/apps/org.example.pigmora.png
./usr/share/icons/hicolor/48x48/apps/org.example.pigmora.png
./usr/share/icons/hicolor/scalable/apps/org.example.pigmora.svg
./usr/share/metainfo/org.example.pigmora.metainfo.xml"
files=$(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "package contents differ:
$files"
dpkg-deb --field "$deb" Depends | grep -q "libqt6widgets6" || fail "Qt is not a dependency"

DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "$deb"
[ -x /usr/bin/pigmora ] || fail "not installed"
# The command-line tool runs without a display and reads colours.
/usr/bin/pigmora-schemes --version | grep -q "^pigmora-schemes " || fail "pigmora-schemes --version"
/usr/bin/pigmora-schemes contrast "#777" white | grep -q "4,47:1" || fail "pigmora-schemes contrast"
desktop-file-validate /usr/share/applications/org.example.pigmora.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.example.pigmora.metainfo.xml
DEBIAN_FRONTEND=noninteractive apt-get remove -y pigmora
for f in $expected; do
    [ ! -e "${f#.}" ] || fail "left behind after removal: ${f#.}"
done
dpkg -s pigmora >/dev/null 2>&1 && fail "still registered after removal"
echo "package checks passed"
