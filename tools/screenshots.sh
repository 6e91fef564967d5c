#!/usr/bin/env bash
# Takes the README's screenshots: the menu (pointer on "Normal") and a game
# in progress (a drag under way), played with real X input under Xvfb.
# Usage: tools/screenshots.sh [vesk executable] [output folder]
# Defaults: build/src/engine/vesk and docs/. Needs xvfb-run, xdotool and
# ImageMagick's import; runs from the repository root, where Data/ is.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=$(realpath "${1:-build/src/engine/vesk}")
out=$(realpath -m "${2:-docs}")
[ -x "$exe" ] || { echo "screenshots: no executable at $exe" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${VESK_SCREENSHOTS_INNER:-}" ]; then
  export VESK_SCREENSHOTS_INNER=1 SDL_AUDIODRIVER=dummy
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$exe" "$out"
fi

"$exe" & pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for _ in $(seq 1 150); do
  xdotool search --name '^Vesk$' >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 2

# Cell centres on screen (x, 768 - drawing y) of the cells played below.
cell() {
  case $1 in
    2,2) echo "512 384" ;;  1,1) echo "427 531" ;;  3,2) echo "597 237" ;;
    2,3) echo "682 384" ;;  1,2) echo "597 531" ;;
  esac
}

# Press on a cell, drag `distance` to the right, release: 1 + (d - 60) / 24.8 tokens.
place() {
  read -r x y < <(cell "$1")
  xdotool mousemove "$x" "$y" mousedown 1
  sleep 0.3
  xdotool mousemove $((x + $2 / 2)) "$y"
  sleep 0.2
  xdotool mousemove $((x + $2)) "$y"
  sleep 0.5
}

xdotool mousemove 200 375      # over "Normal"
sleep 1.5
import -window root "$out/menu.png"
xdotool click 1
sleep 1

for move in "2,2 115" "1,1 90" "3,2 90"; do
  set -- $move
  place "$1" "$2"
  xdotool mouseup 1
  sleep 3                       # Silver's pause and reply
done

place 2,3 140                  # four tokens, held: the drag shows
sleep 1.5
import -window root "$out/game.png"
xdotool mouseup 1
sleep 1
xdotool key Escape
sleep 0.5
xdotool key Escape
wait $pid
trap - EXIT
echo "screenshots: $out/menu.png $out/game.png"
