#!/usr/bin/env bash
# The real game against damaged data, one file at a time and all at once:
# each data file missing, empty, cut to half its size, or replaced by random
# bytes, in a copy of the data. Every run must start, let a game be played
# and end with status 0 - except a bad icon, which must stop the start with
# one line on stderr and status 1. Never a crash, a hang, an assertion or a
# sanitizer report.
#
# Usage (on an X display of its own; see with-xvfb.sh):
#   bad_data_matrix.sh VESK_EXE SOURCE_DIR [GROUP|FILE ...]
# GROUP is icon, sprite-list, images (each file the sprite list names, one at
# a time), sound-list, samples, font, all (every file but the icon at once)
# or all+icon; FILE a path under SOURCE_DIR. Default: every group.
set -uo pipefail
vesk="$(realpath "${1:?usage: bad_data_matrix.sh VESK_EXE SOURCE_DIR [GROUP|FILE...]}")"
src="$(realpath "${2:?source dir}")"
shift 2
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=drive.sh
. "$here/drive.sh"

modes=(missing empty truncated random)

# The files a list names, as host paths.
listed() { tr -d '\r' < "$src/$1" | tr '\\' '/' | awk 'NF && !seen[$0]++'; }
mapfile -t images < <(listed Data/sprites.dat)
mapfile -t samples < <(listed Data/sounds.dat)
data=(Data/sprites.dat "${images[@]}" Data/sounds.dat "${samples[@]}" Data/36DAYSAG.TTF)

# Each case is one line: the files damaged together.
cases=()
[ $# -eq 0 ] && set -- icon sprite-list images sound-list samples font all all+icon
for arg in "$@"; do
  case "$arg" in
    icon) cases+=("Vesk.bmp") ;;
    sprite-list) cases+=("Data/sprites.dat") ;;
    images) cases+=("${images[@]}") ;;
    sound-list) cases+=("Data/sounds.dat") ;;
    samples) cases+=("${samples[@]}") ;;
    font) cases+=("Data/36DAYSAG.TTF") ;;
    all) cases+=("${data[*]}") ;;
    all+icon) cases+=("Vesk.bmp ${data[*]}") ;;
    *) cases+=("$arg") ;;
  esac
done

# damage DIR FILE MODE: damages DIR/FILE. Random bytes come from a seed
# made of the file's name, so a failure can be replayed.
damage() {
  local path="$1/$2" mode="$3"
  case "$mode" in
    missing) rm -f "$path" ;;
    empty) : > "$path" ;;
    truncated) truncate -s $(( $(stat -c %s "$path") / 2 )) "$path" ;;
    random)
      python3 - "$path" "$2" <<'PY'
import os, random, sys, zlib
path, name = sys.argv[1], sys.argv[2]
size = max(os.path.getsize(path), 64)
rng = random.Random(zlib.crc32(name.encode()))
with open(path, "wb") as f:
    f.write(rng.randbytes(size))
PY
      ;;
  esac
}

passed=0
failed=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

for files in "${cases[@]}"; do
  read -r -a targets <<< "$files"
  icon_bad=false
  for f in "${targets[@]}"; do [ "$f" = Vesk.bmp ] && icon_bad=true; done
  what="${targets[0]}"
  [ ${#targets[@]} -gt 1 ] && what="all of ${#targets[@]} files"

  for mode in "${modes[@]}"; do
    case_name="$what $mode"
    dir="$scratch/run"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp -r "$src/Data" "$dir/Data"
    cp "$src/Vesk.bmp" "$dir/Vesk.bmp"
    for f in "${targets[@]}"; do damage "$dir" "$f" "$mode"; done

    if $icon_bad; then
      expect_start_failure "$vesk" "$dir"
    else
      play_short_game "$vesk" "$dir"
    fi
    if [ -z "$RESULT" ]; then
      passed=$((passed + 1))
      echo "ok    $case_name"
    else
      failed=$((failed + 1))
      echo "FAIL  $case_name: $RESULT"
    fi
  done
done

echo "bad data: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
