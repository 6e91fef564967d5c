# Driving the real game from outside, as a player would, on the X display
# in $DISPLAY (a bare Xvfb: the window opens at 0,0, so window and screen
# coordinates agree). Sourced by the hardening scripts. Each check function
# leaves the reason it failed in RESULT, empty when all went well. (No
# command substitution around them: the game must stay this shell's child.)

# Screen positions (SDL coordinates, origin top-left).
MENU_NORMAL=(200 375)
MENU_HARD=(200 410)
PASS_RING=(130 638)
CENTRE_CELL=(512 384)

VESK_PID=
VESK_ERR=

# start_vesk EXE DIR [ARG...]: starts the game in DIR, stderr kept in a file.
start_vesk() {
  local exe="$1" dir="$2"
  shift 2
  BLANK=$(screen_hash)   # the screen before the game draws anything
  VESK_ERR="$dir/stderr.txt"
  (cd "$dir" && exec "$exe" "$@" 2>"$VESK_ERR" >/dev/null) &
  VESK_PID=$!
}

vesk_alive() { kill -0 "$VESK_PID" 2>/dev/null; }

# wait_vesk_exit SECONDS: waits for the game to end; its status goes to
# STATUS, or "hang" after killing it when it outlives the limit.
wait_vesk_exit() {
  local limit=$(( $1 * 10 ))
  for _ in $(seq "$limit"); do
    vesk_alive || break
    sleep 0.1
  done
  if vesk_alive; then
    kill -KILL "$VESK_PID" 2>/dev/null
    wait "$VESK_PID" 2>/dev/null
    STATUS=hang
    return
  fi
  wait "$VESK_PID"
  STATUS=$?
}

# wait_window SECONDS: true once the game's window exists.
wait_window() {
  local limit=$(( $1 * 10 ))
  for _ in $(seq "$limit"); do
    vesk_alive || return 1
    xdotool search --name '^Vesk$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# What must never appear on stderr.
stderr_faults() {
  grep -m3 -E 'Assertion|AddressSanitizer|LeakSanitizer|runtime error|UndefinedBehavior|Segmentation|Aborted|terminate called' \
    "$VESK_ERR" 2>/dev/null | tr '\n' ' '
}

screen_hash() { import -window root -depth 8 rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }

# wait_screen_stable SECONDS: waits until two looks at the screen agree (a
# slow frame under the sanitizers or a busy machine can take a while); the
# picture's hash goes to SCREEN.
wait_screen_stable() {
  local deadline=$(( SECONDS + $1 )) next
  SCREEN=$(screen_hash)
  while [ $SECONDS -lt $deadline ]; do
    sleep 0.15
    next=$(screen_hash)
    [ "$next" = "$SCREEN" ] && return 0
    SCREEN=$next
  done
  return 1
}

# wait_first_frame SECONDS: waits until the game has drawn its first frame
# (which can take long: Mesa compiles its shaders first) and the screen
# is still; the picture's hash goes to SCREEN.
wait_first_frame() {
  wait_window "$1" || return 1
  wait_screen_change "$BLANK" "$1"
}

# wait_screen_change OLD SECONDS: waits until the screen differs from the
# hash OLD, then until it is stable again; false if it never changed.
wait_screen_change() {
  local old="$1" deadline=$(( SECONDS + $2 ))
  while [ $SECONDS -lt $deadline ]; do
    vesk_alive || return 1
    if [ "$(screen_hash)" != "$old" ]; then
      wait_screen_stable 10
      return 0
    fi
    sleep 0.1
  done
  return 1
}

click_at() { xdotool mousemove "$1" "$2" click 1; }

# A press and release on a cell without moving: one token placed.
place_at() { xdotool mousemove "$1" "$2" mousedown 1 mouseup 1; }

# play_short_game EXE DIR: start, "Normal", one placement on the centre cell,
# Silver's reply, Escape to the menu, Escape to quit with status 0.
play_short_game() {
  local exe="$1" dir="$2" menu game faults changed_to_game placed
  RESULT=
  start_vesk "$exe" "$dir"
  if ! wait_first_frame 60; then
    wait_vesk_exit 1
    RESULT="no window or nothing drawn (status $STATUS): $(head -c 300 "$VESK_ERR")"
    return
  fi
  menu=$SCREEN
  click_at "${MENU_NORMAL[@]}"
  changed_to_game=true
  wait_screen_change "$menu" 20 || changed_to_game=false
  game=$SCREEN
  place_at "${CENTRE_CELL[@]}"
  placed=true
  wait_screen_change "$game" 20 || placed=false
  sleep 0.8   # Silver's pause of 500 ms, then its search
  wait_screen_stable 20
  if ! vesk_alive; then
    wait_vesk_exit 1
    RESULT="died during play (status $STATUS): $(head -c 300 "$VESK_ERR")"
    return
  fi
  xdotool key Escape
  sleep 0.3
  if ! vesk_alive; then
    wait_vesk_exit 1
    RESULT="the first Escape ended the program: the game screen was never reached"
    return
  fi
  xdotool key Escape
  wait_vesk_exit 30
  faults=$(stderr_faults)
  if [ "$STATUS" != 0 ]; then
    RESULT="exit status $STATUS after Escape twice: $(head -c 300 "$VESK_ERR")"
  elif [ -n "$faults" ]; then
    RESULT="stderr: $faults"
  elif ! $changed_to_game; then
    RESULT="clicking \"Normal\" did not change the screen"
  elif ! $placed; then
    RESULT="placing a token did not change the screen"
  fi
}

# expect_start_failure EXE DIR: the start must fail with one line on stderr
# naming the problem, and status 1.
expect_start_failure() {
  local exe="$1" dir="$2" lines
  RESULT=
  start_vesk "$exe" "$dir"
  wait_vesk_exit 30
  lines=$(wc -l < "$VESK_ERR")
  if [ "$STATUS" != 1 ]; then
    RESULT="exit status $STATUS, expected 1: $(head -c 300 "$VESK_ERR")"
  elif [ "$lines" != 1 ] || ! grep -q '^vesk: ' "$VESK_ERR"; then
    RESULT="expected one line \"vesk: ...\" on stderr, got $lines: $(head -c 300 "$VESK_ERR")"
  elif [ -n "$(stderr_faults)" ]; then
    RESULT="stderr: $(stderr_faults)"
  fi
}
