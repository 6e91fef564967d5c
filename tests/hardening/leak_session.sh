#!/usr/bin/env bash
# A whole session of the real game under a leak checker: the menu, a game at
# "Hard" played to its end (Gold places twice, then passes until Silver
# passes too), back to the menu, Escape to quit. The game must end with
# status 0 and no leak report: every definite or indirect leak counts
# except those inside the third-party libraries named in lsan.supp or
# valgrind.supp. The opponent builds and frees a search tree and a state
# pool on each of its turns, so a leak there shows many times over.
#
# Usage (on an X display of its own; see with-xvfb.sh):
#   leak_session.sh VESK_EXE SOURCE_DIR            VESK_EXE built with VESK_SANITIZE=ON
#   leak_session.sh VESK_EXE SOURCE_DIR --valgrind an ordinary build, under memcheck
# Memcheck reads full call stacks through the system libraries, so its
# suppressions (valgrind.supp) can name a third-party library at a precise
# place in the stack; LeakSanitizer's quick stacks stop at the first library
# built without frame pointers.
set -uo pipefail
vesk="$(realpath "${1:?usage: leak_session.sh VESK_EXE SOURCE_DIR [--valgrind]}")"
src="$(realpath "${2:?source dir}")"
mode="${3:-lsan}"
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=drive.sh
. "$here/drive.sh"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp -r "$src/Data" "$dir/Data"
cp "$src/Vesk.bmp" "$dir/Vesk.bmp"

fail() {
  echo "leak session: $*" >&2
  if [ -n "${VESK_PID:-}" ] && vesk_alive; then kill -KILL "$VESK_PID"; fi
  [ -f "${VESK_ERR:-}" ] && sed -n 1,80p "$VESK_ERR" >&2
  exit 1
}

if [ "$mode" = --valgrind ]; then
  log="$dir/memcheck.txt"
  start_vesk valgrind "$dir" --tool=memcheck --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --error-exitcode=99 --num-callers=40 --keep-debuginfo=yes \
    --suppressions="$here/valgrind.supp" --log-file="$log" "$vesk"
  slow=4
else
  # Mesa unloads its driver when the window closes, and the driver's leaks
  # would lose their library name; loaded from the start it stays to the end.
  driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -n1)
  BLANK=$(screen_hash)
  VESK_ERR="$dir/stderr.txt"
  (cd "$dir" && LD_PRELOAD="$driver" exec "$vesk" 2>"$VESK_ERR" >/dev/null) &
  VESK_PID=$!
  slow=1
fi
wait_first_frame $((60 * slow)) || fail "no window, or nothing drawn in it"
menu=$SCREEN

click_at "${MENU_HARD[@]}"
wait_screen_change "$menu" $((20 * slow)) || fail "\"Hard\" did not start a game"
game=$SCREEN

# Gold places on the centre cell and on its left neighbour; Silver answers each.
for cell in "512 384" "342 384"; do
  # shellcheck disable=SC2086
  place_at $cell
  wait_screen_change "$game" $((20 * slow)) || fail "placing at $cell changed nothing"
  sleep $((2 * slow))   # Silver's pause, then its search at depth 4
  wait_screen_stable $((20 * slow))
  game=$SCREEN
done

# Gold passes until the game is over; the next press returns to the menu,
# which looks as it did at the start.
rounds=0
while [ "$SCREEN" != "$menu" ]; do
  rounds=$((rounds + 1))
  [ $rounds -le 60 ] || fail "the game did not end after 60 passes"
  vesk_alive || fail "died during the game"
  click_at "${PASS_RING[@]}"
  sleep $((1 * slow))   # Silver's pause after a pass, then its search
  wait_screen_stable $((20 * slow))
done

xdotool key Escape
wait_vesk_exit $((60 * slow))
if [ "$mode" = --valgrind ]; then
  if [ "$STATUS" != 0 ]; then
    grep -E -A30 'lost in loss record|Invalid|uninitialised|Mismatched|overlap' "$log" | head -200 >&2
    fail "exit status $STATUS under memcheck (99: a leak or a memory error)"
  fi
  grep -E 'definitely lost|indirectly lost|ERROR SUMMARY' "$log"
else
  [ "$STATUS" = 0 ] || fail "exit status $STATUS (a leak report makes it non-zero)"
fi
faults=$(stderr_faults)
[ -z "$faults" ] || fail "stderr: $faults"
echo "leak session: a game at Hard over $rounds clicks on the pass ring, quit with status 0, no leak"
