#!/usr/bin/env bash
# Runs a command on its own virtual screen (1024x768x24) and stops the screen
# afterwards. The X server picks a free display number itself (-displayfd),
# so runs started side by side never race for one.
# Usage: with-xvfb.sh COMMAND [ARG...]; exits with the command's status.
set -euo pipefail
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" 2>/dev/null &
xpid=$!
cleanup() { kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; rm -f "$fdfile"; }
trap cleanup EXIT
for _ in $(seq 100); do
  [ -s "$fdfile" ] && break
  kill -0 "$xpid" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$fdfile" ] || { echo "with-xvfb: Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fdfile")"
unset XAUTHORITY
set +e
"$@"
status=$?
set -e
exit $status
