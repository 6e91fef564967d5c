#!/usr/bin/env bash
# Runs the fuzz targets of a VESK_FUZZ build for a bounded time each.
# Usage: fuzz/run.sh BUILD_DIR [SECONDS_EACH [TARGET...]]
#   fuzz/run.sh build-sanitize 25            every target, 25 s each (scripts/test)
#   fuzz/run.sh build-sanitize 3600 fuzz_font    one target for an hour
# The committed seeds in fuzz/corpus/<target> start each run; what the fuzzer
# learns is kept in BUILD_DIR/fuzz-corpus/<target> for the next run. A crash,
# leak, timeout or failed check leaves its input in BUILD_DIR/fuzz-artifacts
# and makes this script fail.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: fuzz/run.sh BUILD_DIR [SECONDS_EACH [TARGET...]]}" && pwd)"
seconds="${2:-25}"
shift $(( $# >= 2 ? 2 : 1 ))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_list_file fuzz_rect_packer fuzz_sprite_packing fuzz_notation fuzz_font)
fi

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

failed=()
for t in "${targets[@]}"; do
  exe="$build/fuzz/$t"
  if [ ! -x "$exe" ]; then
    echo "fuzz: $t not built in $build" >&2
    failed+=("$t")
    continue
  fi
  work="$build/fuzz-corpus/$t"
  artifacts="$build/fuzz-artifacts"
  mkdir -p "$work" "$artifacts"
  cp -n "$here/corpus/$t"/* "$work"/ 2>/dev/null || true
  cmd=("$exe" -max_total_time="$seconds" -timeout=20 -max_len="$(max_len "$t")"
       -print_final_stats=1 -artifact_prefix="$artifacts/$t-")
  [ -f "$here/${t#fuzz_}.dict" ] && cmd+=(-dict="$here/${t#fuzz_}.dict")
  cmd+=("$work")
  if [ "$t" = fuzz_font ]; then
    # Needs an OpenGL context: its own virtual screen.
    cmd=("$here/../tests/hardening/with-xvfb.sh" "${cmd[@]}")
  fi
  log="$build/fuzz-$t.log"
  start=$(date +%s)
  if "${cmd[@]}" > "$log" 2>&1; then
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo '?')
    echo "fuzz: $t ok: $runs inputs in $(( $(date +%s) - start )) s, coverage $cov, corpus $(ls "$work" | wc -l)"
  else
    echo "fuzz: $t FAILED (log $log):" >&2
    grep -E 'ERROR|SUMMARY|: .*\(|Test unit written|runtime error' "$log" | head -20 >&2 || tail -20 "$log" >&2
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
