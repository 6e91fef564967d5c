#!/usr/bin/env bash
# Runs a command on a virtual screen of its own (1024x768x24), stopped afterwards; the server picks a free
# display itself (-displayfd), so servers started side by side never race for a number. Exits with the command's
# status. Usage: with-xvfb.sh COMMAND [ARG...]
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/with-xvfb.XXXXXX")
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/log" &
xpid=$!
cleanup() { kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT; trap 'exit 130' INT; trap 'exit 143' TERM   # signals, too, go through the cleanup
for _ in $(seq 300); do   # a busy machine can take seconds
  { [ -s "$work/display" ] || ! kill -0 "$xpid" 2>/dev/null; } && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "with-xvfb: Xvfb gave no display:" >&2; cat "$work/log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
unset XAUTHORITY
"$@"
