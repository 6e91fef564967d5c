#!/usr/bin/env bash
# Runs the fuzz targets of a VESK_FUZZ build for a bounded time each, as many
# at once as there are cores (FUZZ_JOBS to change that).
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_EACH [TARGET...]]
#   fuzz/run.sh build-sanitize 20                 every target, 20 s each (scripts/test)
#   fuzz/run.sh build-sanitize 3600 fuzz_font     one target for an hour
# The committed seeds in fuzz/corpus/<target> start each run; what the fuzzer
# learns is kept in BUILD_DIR/fuzz-corpus/<target> for the next run. A crash,
# leak, timeout or failed check leaves its input in BUILD_DIR/fuzz-artifacts
# and makes this script fail; replay it with BUILD_DIR/fuzz/<target> FILE.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: fuzz/run.sh BUILD_DIR [SECONDS_EACH [TARGET...]]}" && pwd)"
seconds="${2:-20}"
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_list_file fuzz_rect_packer fuzz_sprite_packing fuzz_notation fuzz_font)
fi
jobs="${FUZZ_JOBS:-$(nproc)}"

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/../tests/hardening/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy

# Larger inputs where the format needs them (list lines split at 1023 bytes).
max_len() {
  case "$1" in
    fuzz_list_file) echo 8192 ;;
    fuzz_font) echo 16384 ;;
    *) echo 4096 ;;
  esac
}

# run_one TARGET: fuzzes one target; its verdict goes to BUILD_DIR/fuzz-TARGET.result.
run_one() {
  local t="$1" exe="$build/fuzz/$1" work="$build/fuzz-corpus/$1" artifacts="$build/fuzz-artifacts"
  local log="$build/fuzz-$t.log" result="$build/fuzz-$t.result" start runs cov
  start=$(date +%s)
  if [ ! -x "$exe" ]; then
    echo "FAILED $t: not built in $build" > "$result"
    return
  fi
  mkdir -p "$work" "$artifacts"
  cp -n "$here/corpus/$t"/* "$work"/ 2>/dev/null || true
  local cmd=("$exe" -max_total_time="$seconds" -timeout=20 -max_len="$(max_len "$t")"
             -print_final_stats=1 -artifact_prefix="$artifacts/$t-")
  [ -f "$here/${t#fuzz_}.dict" ] && cmd+=(-dict="$here/${t#fuzz_}.dict")
  cmd+=("$work")
  # Font loading needs an OpenGL context: a virtual screen of its own.
  [ "$t" = fuzz_font ] && cmd=("$here/../tests/hardening/with-xvfb.sh" "${cmd[@]}")
  if "${cmd[@]}" > "$log" 2>&1; then
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo '?')
    echo "ok $t: $runs inputs in $(( $(date +%s) - start )) s, coverage $cov, corpus $(ls "$work" | wc -l)" > "$result"
  else
    {
      echo "FAILED $t (log $log):"
      grep -E 'ERROR|SUMMARY|^[a-z ]+: .*[(]|Test unit written|runtime error' "$log" | head -20 ||
        tail -20 "$log"
    } > "$result"
  fi
}

running=0
for t in "${targets[@]}"; do
  rm -f "$build/fuzz-$t.result"
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=()
for t in "${targets[@]}"; do
  result="$build/fuzz-$t.result"
  if [ -f "$result" ] && head -n1 "$result" | grep -q '^ok '; then
    echo "fuzz: $(cat "$result")"
  else
    cat "$result" >&2 2>/dev/null || echo "FAILED $t: no result" >&2
    failed+=("$t")
  fi
done
echo "fuzz: $(( ${#targets[@]} - ${#failed[@]} )) passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]
