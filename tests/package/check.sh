#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it without installing it: unpacked
# into a scratch root, its programs run from there (so nothing of the build tree is needed), the
# first use makes and seeds the user's data folder from the packaged defaults, the desktop entry
# and AppStream file validate, the udev rule names the scale's ids, and lintian finds no error.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
fail() { echo "package check: $*" >&2; exit 1; }

cmake --build "$build" --target package >/dev/null
deb=$(ls -t "$build"/korvan_*_amd64.deb | head -1)
[ -f "$deb" ] || fail "no package in $build"
root=$(mktemp -d); home=$(mktemp -d)
trap 'rm -rf "$root" "$home"' EXIT
dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin

# The shipped programs and libraries carry no path of the tree they were built in.
src=$(pwd -P)
if grep -rlF "$src/" "$root/usr" >/dev/null; then
  fail "the package names the build tree: $(grep -rlF "$src/" "$root/usr" | head -3)"
fi

# The programs run from the unpacked tree, away from the sources (no KORVAN_DEFAULTS_DIR).
unset KORVAN_DEFAULTS_DIR XDG_DATA_HOME
cd "$home"
"$bin/korvan-cli" --help | grep -q "print-records" || fail "korvan-cli --help"
"$bin/korvan-scale" --help | grep -q "simulated price scale" || fail "korvan-scale --help"
QT_QPA_PLATFORM=offscreen "$bin/korvan" --help | grep -q -- "--data-dir" || fail "korvan --help"
dir=$(HOME=$home "$bin/korvan-cli" --print-data-dir)
[ "$dir" = "$home/.local/share/korvan" ] || fail "data folder is '$dir'"
[ ! -e "$dir" ] || fail "printing the data folder created it"
# A first command makes the folder and copies the packaged defaults into it.
status=0
HOME=$home "$bin/korvan-cli" export-records --xlsx "$home/out.xlsx" >/dev/null 2>&1 || status=$?
[ "$status" = 1 ] || fail "export-records on an empty folder ended with $status"
[ -f "$dir/record/dqlabel.rec" ] && [ -f "$dir/label/2eng.bel" ] ||
  fail "the data folder was not seeded from the package"
# A working directory holding record/ is used as it is (an older data folder copied over).
mkdir -p "$home/shop/record"
[ "$(cd "$home/shop" && HOME=$home "$bin/korvan-cli" --print-data-dir)" = "$home/shop" ] ||
  fail "a working directory with record/ is not used"
cd - >/dev/null

desktop-file-validate "$root/usr/share/applications/org.korvan.Korvan.desktop" ||
  fail "desktop entry"
appstreamcli validate --no-net --pedantic \
  "$root/usr/share/metainfo/org.korvan.Korvan.metainfo.xml" >/dev/null || fail "AppStream file"
rules=$root/usr/lib/udev/rules.d/60-korvan-scale.rules
grep -q 'SUBSYSTEM=="hidraw", ATTRS{idVendor}=="0483", ATTRS{idProduct}=="5750", TAG+="uaccess"' \
  "$rules" || fail "udev rule"
for page in korvan korvan-cli korvan-scale; do
  [ -f "$root/usr/share/man/man1/$page.1.gz" ] || fail "no manual page for $page"
done
lintian --fail-on error "$deb" 2>/dev/null ||
  fail "lintian found errors"
echo "package check: $(basename "$deb") passed"
