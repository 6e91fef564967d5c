#!/usr/bin/env bash
# The Debian package made from a built tree (cpack -G DEB, left there) as
# Debian's tools see it: lintian (errors fail; warnings and notes shown), its
# file list, desktop entry, AppStream file and manual pages; then played unpacked.
# Usage, with a display (scripts/test runs it under tests/hardening/with-xvfb.sh):
#   tests/e2e/package_check.sh [build]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*" >&2; failed=$((failed + 1)); }

rm -f "$build"/vesk_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$build"/vesk_*.deb)
dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"

lintian --fail-on error --display-info --pedantic "$deb" || fail "lintian reports errors"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) }' | LC_ALL=C sort | diff -u "$here/package_contents.txt" - \
  || fail "the package's files differ from package_contents.txt (- missing, + unexpected)"
out=$(desktop-file-validate "$share/applications/vesk.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net --pedantic "$share"/metainfo/*.metainfo.xml 2>&1) && ! grep -q '^[EWIP]:' <<<"$out" \
  || fail "AppStream file: $out"
for page in "$share"/man/man6/*.6.gz; do
  out=$(zcat "$page" | groff -man -ww -z 2>&1) && [ -z "$out" ] || fail "${page##*/}: $out"
done
# The changelog and the AppStream releases are written by hand: both must
# name the version being packaged.
version=$(dpkg-deb -f "$deb" Version)
zcat "$share/doc/vesk/changelog.gz" | head -n 1 | grep -q "^vesk ($version) " || fail "the changelog's first entry is not $version"
grep -q "<release version=\"$version\"" "$share"/metainfo/*.metainfo.xml || fail "the AppStream file has no release $version"
python3 "$here/xsession.py" deb "$deb" || fail "the unpacked game did not run"
[ $failed -eq 0 ] || { echo "package check: $failed failed" >&2; exit 1; }
echo "package check: all passed"
