#!/bin/sh
# Installs the build into a temporary prefix and checks it as a desktop application:
#   - exactly the expected files, and the desktop entry and AppStream file pass their validators;
#   - started from a prefix it may not write to, the program keeps its schemes in the user's
#     data directory and finds them there at the next start;
#   - pigmora-schemes, installed beside it, finds that same file and runs from the prefix.
# usage: test_install.sh <build dir> <session helper>
set -eu
build=$1
session=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix=$work/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/pigmora
bin/pigmora-schemes
share/applications/org.example.pigmora.desktop
share/icons/hicolor/128x128/apps/org.example.pigmora.png
share/icons/hicolor/16x16/apps/org.example.pigmora.png
share/icons/hicolor/32x32/apps/org.example.pigmora.png
share/icons/hicolor/48x48/apps/org.example.pigmora.png
share/icons/hicolor/scalable/apps/org.example.pigmora.svg
share/metainfo/org.example.pigmora.metainfo.xml"
actual=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$actual"

desktop-file-validate "$prefix/share/applications/org.example.pigmora.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.example.pigmora.metainfo.xml" ||
    fail "appstreamcli validate"

# The prefix is read-only for whoever runs the program: for root, run it as nobody.
home=$work/home
mkdir -p "$home"
cp "$session" "$prefix/bin/"
as_user=""
if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$home"
    as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
else
    chmod -R a-w "$prefix"
fi
# Runs a program in a clean environment; only ever in a subshell (it replaces the shell).
run() {
    # shellcheck disable=SC2086 # as_user is a command prefix
    exec $as_user env -i PATH="$PATH" HOME="$home" QT_QPA_PLATFORM=offscreen \
        ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
        "$@"
}

# The installed program's first start makes its file in the user's data directory. The program
# runs until it is closed, so it is stopped once the file is there (or after 20 seconds).
user_file=$home/.local/share/Pigmora/Farben.mdb
run "$prefix/bin/pigmora" &
program=$!
tries=0
while [ ! -f "$user_file" ] && [ $tries -lt 200 ] && kill -0 $program 2>/dev/null; do
    sleep 0.1
    tries=$((tries + 1))
done
kill $program 2>/dev/null || true
wait $program 2>/dev/null || true
[ -f "$user_file" ] || fail "no scheme file in $home/.local/share/Pigmora"
[ ! -e "$prefix/bin/Farben.mdb" ] || fail "scheme file beside the read-only program"

# Stored schemes are found again at the next start (the program's own code, run from the prefix).
saved=$(run "$prefix/bin/pigmora_session" --default store-close "Abendrot" "Meer")
[ "$saved" = "saved Abendrot
saved Meer" ] || fail "store: $saved"
listed=$(run "$prefix/bin/pigmora_session" --default list)
[ "$listed" = "Abendrot
Meer" ] || fail "list: $listed"
[ ! -e "$prefix/bin/Farben.mdb" ] || fail "scheme file beside the read-only program"

# The command-line tool finds the per-user file the installed program made, without --file.
tool=$prefix/bin/pigmora-schemes
version=$(run "$tool" --version)
[ "$version" = "pigmora-schemes $(sed -n 's/^#define PIGMORA_VERSION "\(.*\)"$/\1/p' \
    "$build/generated/version.h")" ] || fail "pigmora-schemes --version: $version"
names=$(run "$tool" list | cut -f1)
[ "$names" = "Abendrot
Meer" ] || fail "pigmora-schemes list: $names"
ratio=$(run "$tool" contrast black white | grep "WCAG")
[ "$ratio" = "Kontrast nach WCAG 2: 21,00:1" ] || fail "pigmora-schemes contrast: $ratio"
status=0
(run "$tool" list --file "$work/nirgends/Farben.mdb") 2>/dev/null || status=$?
[ $status -eq 2 ] || fail "pigmora-schemes list on a missing file: exit status $status"
[ ! -e "$work/nirgends" ] || fail "pigmora-schemes created the missing file's folder"
[ ! -e "$prefix/bin/Farben.mdb" ] || fail "scheme file beside the read-only program"
echo "install checks passed"
