#!/usr/bin/env bash
# tests/e2e/package_check.sh [build], with a display: the tree's Debian package (cpack -G DEB) as Debian's tools see it
# (lintian's errors fail), its files, desktop entry, AppStream file and manual pages; then played unpacked. Last, HEAD
# cloned into two folders and built there gives the same bytes, and this tree's own where it is HEAD unchanged (time
# stamps from SOURCE_DATE_EPOCH, the commit's time unless set).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAILED: $*" >&2; failed=$((failed + 1)); }

source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
commit=$(git -C "$source_dir" rev-parse --verify -q HEAD) || commit=""
[ -z "${SOURCE_DATE_EPOCH:-}" ] && [ -n "$commit" ] && export SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct "$commit")

rm -f "$build"/vesk_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log") || { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$build"/vesk_*.deb)
dpkg-deb -x "$deb" "$work/root"
share="$work/root/usr/share"

lintian --fail-on error --display-info --pedantic "$deb" || fail "lintian reports errors"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print substr($6, 2) ($1 ~ /^l/ ? " -> " $8 : "") }' | LC_ALL=C sort |
  diff -u "$here/package_contents.txt" - || fail "the package's files differ from package_contents.txt (- missing, + unexpected)"
# The font is a link into the package it depends on, to a file that is the source tree's font.
font=$(readlink "$share/games/vesk/Data/36DAYSAG.TTF")
cmp -s "$source_dir/Data/36DAYSAG.TTF" "$(realpath -m "/usr/share/games/vesk/Data/$font")" && dpkg-deb -f "$deb" Depends |
  grep -qw fonts-routed-gothic || fail "the font links to $font, not fonts-routed-gothic's copy of Data/36DAYSAG.TTF"
out=$(desktop-file-validate "$share/applications/vesk.desktop" 2>&1) && [ -z "$out" ] || fail "desktop entry: $out"
out=$(appstreamcli validate --no-net --pedantic "$share"/metainfo/*.metainfo.xml 2>&1) && ! grep -q '^[EWIP]:' <<<"$out" \
  || fail "AppStream file: $out"
for page in "$share"/man/man6/*.6.gz; do
  out=$(zcat "$page" | groff -man -ww -z 2>&1) && [ -z "$out" ] || fail "${page##*/}: $out"
done
# The changelog and the AppStream releases are written by hand: both must name the version being packaged.
version=$(dpkg-deb -f "$deb" Version)
zcat "$share/doc/vesk/changelog.gz" | head -n 1 | grep -q "^vesk ($version) " || fail "the changelog's first entry is not $version"
grep -q "<release version=\"$version\"" "$share"/metainfo/*.metainfo.xml || fail "the AppStream file has no release $version"
python3 "$here/xsession.py" deb "$deb" || fail "the unpacked game did not run"

# The tree's options, for the copies: its build type, compilers and flags and Vesk's own, less the tests.
mapfile -t options < <(grep -E '^(CMAKE_BUILD_TYPE|CMAKE_(C|CXX)_COMPILER|CMAKE_(C|CXX)_FLAGS|CMAKE_EXE_LINKER_FLAGS|VESK_[A-Z_]+):(STRING|BOOL|FILEPATH|PATH)=' \
  "$build/CMakeCache.txt" | grep -v '^VESK_BUILD_TESTS:' | sed 's/^/-D/')
options+=(-DVESK_BUILD_TESTS=OFF -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON)

# copy_package SOURCE BUILD: HEAD cloned into SOURCE, built in BUILD, packaged; prints the package's path.
copy_package() {
  local src="$1" bld="$2" log="$work/copy-$(basename "$(dirname "$1")").log"
  { git clone --quiet --no-checkout "$source_dir" "$src" && git -C "$src" fetch --quiet "$source_dir" HEAD &&
      git -C "$src" checkout --quiet --detach "$commit" &&
      cmake -S "$src" -B "$bld" "${options[@]}" &&
      cmake --build "$bld" -j"$(nproc)" --target vesk vesk-lab &&
      (cd "$bld" && cpack -G DEB); } >"$log" 2>&1 || { tail -n 30 "$log" >&2; return 1; }
  local made=("$bld"/vesk_*.deb)
  [ -f "${made[0]}" ] || { echo "no package in $bld" >&2; return 1; }
  echo "${made[0]}"
}

# same_package A B WHAT: fails naming the files (or the package's own metadata) that differ.
same_package() {
  cmp -s "$1" "$2" && return 0
  fail "$3: the packages differ ($1, $2)"
  mkdir -p "$work/a" "$work/b" && dpkg-deb -R "$1" "$work/a" && dpkg-deb -R "$2" "$work/b" &&
    diff -rq "$work/a" "$work/b" >&2   # DEBIAN/ holds the package's own metadata
  rm -rf "$work/a" "$work/b"; return 1
}

if [ -z "$commit" ]; then
  fail "$source_dir is not a git checkout: the package's reproducibility is not checked"
else
  # Two folders of different depth, one building inside its source, one beside it.
  started=$SECONDS
  one=$(copy_package "$work/one/vesk" "$work/one/vesk/build") || fail "the first copy of $commit did not build"
  two=$(copy_package "$work/copy-two/source" "$work/copy-two/obj") || fail "the second copy of $commit did not build"
  if [ -n "$one" ] && [ -n "$two" ]; then
    same_package "$one" "$two" "the same commit built in two folders" &&
      echo "ok: ${commit:0:12} built in two folders gives the same package: $(sha256sum < "$one" | cut -c1-16) ($((SECONDS - started)) s)"
    if [ -z "$(git -C "$source_dir" status --porcelain)" ]; then
      same_package "$deb" "$one" "this tree's package and a copy of its commit" &&
        echo "ok: this tree's package is the same"
    else
      echo "note: $source_dir has changes not committed: its package is not compared with the copies'"
    fi
  fi
fi
[ $failed -eq 0 ] || { echo "package check: $failed failed" >&2; exit 1; }
echo "package check: all passed"
