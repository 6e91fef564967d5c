#!/usr/bin/env bash
# Start-up benchmark: time from process start to the first buffer swap, for
# the game with its data and for a bare OpenGL window, under a virtual X server.
# Usage: bench/startup.sh [runs] [build folder]   (defaults: 20, build)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-20}
build=${2:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target vesk-startup-bench -j2 >/dev/null

SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/bench/vesk-startup-bench" "$runs" "$PWD"
