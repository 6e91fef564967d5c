#!/usr/bin/env bash
# Makes the Debian package from a built tree (cpack -G DEB, left in the
# build folder) and checks it with Debian's own tools: lintian (no errors;
# its warnings and notes are shown), the file list, the desktop entry, the
# AppStream file and the manual pages as shipped; then starts the game from
# the package unpacked into a temporary folder.
# Usage, with a display (scripts/test runs it under tests/hardening/with-xvfb.sh):
#   tests/e2e/package_check.sh [build]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=()
fail() { echo "FAILED: $*" >&2; failed+=("$*"); }

rm -f "$build"/vesk_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$build"/vesk_*.deb)
echo "== $deb"

echo "== lintian"
lintian --fail-on error --display-info --pedantic "$deb" || fail "lintian reports errors"

echo "== contents"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }' | LC_ALL=C sort >"$work/contents"
diff -u "$here/package_contents.txt" "$work/contents" \
  || fail "the package's files differ from package_contents.txt (- missing, + unexpected)"

dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"

echo "== desktop-file-validate"
out=$(desktop-file-validate "$share/applications/vesk.desktop" 2>&1)
[ $? -eq 0 ] && [ -z "$out" ] || fail "desktop entry: $out"

echo "== appstreamcli validate --no-net --pedantic"
appstreamcli validate --no-net --pedantic "$share"/metainfo/*.metainfo.xml >"$work/as" 2>&1
status=$?
cat "$work/as"
[ $status -eq 0 ] && ! grep -q '^[EWIP]:' "$work/as" || fail "AppStream file has findings"

echo "== groff -man -ww -z"
for page in "$share"/man/man6/*.6.gz; do
  out=$(zcat "$page" | groff -man -ww -z 2>&1)
  [ -z "$out" ] && echo "${page##*/}: clean" || fail "${page##*/}: $out"
done

# The changelog and the AppStream releases are written by hand: both must
# name the version being packaged.
version=$(dpkg-deb -f "$deb" Version)
zcat "$share/doc/vesk/changelog.gz" | head -n 1 | grep -q "^vesk ($version) " \
  || fail "the changelog's first entry is not version $version"
grep -q "<release version=\"$version\"" "$share"/metainfo/*.metainfo.xml \
  || fail "the AppStream file has no release $version"

echo "== the unpacked package, started from elsewhere"
python3 "$here/install_test.py" --deb "$deb" || fail "the unpacked game did not run"

if [ ${#failed[@]} -ne 0 ]; then
  echo "package check: ${#failed[@]} failed" >&2
  exit 1
fi
echo "package check: all passed"
