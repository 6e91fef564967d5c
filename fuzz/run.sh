#!/usr/bin/env bash
# Runs the fuzz targets of a VESK_FUZZ build, FUZZ_JOBS (default: cores) at once:
#   fuzz/run.sh BUILD_DIR --fixed [TARGET...]    every committed seed, then a fixed count from one seed (scripts/test)
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]    random, SECONDS each, growing BUILD_DIR/fuzz-corpus
# A finding leaves its input in BUILD_DIR/fuzz-artifacts and fails this script.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mode="${2:-}"
[[ -d "${1:-}" && ( "$mode" == --fixed || "$mode" =~ ^[0-9]+$ ) ]] || { echo "usage: fuzz/run.sh BUILD_DIR --fixed|SECONDS [TARGET...]" >&2; exit 2; }
build="$(cd "$1" && pwd)" && mkdir -p "$build/fuzz-artifacts"
shift 2; targets=("$@")
[ $# -gt 0 ] || targets=(fuzz_list_file fuzz_rect_packer fuzz_sprite_packing fuzz_font)
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/../tests/hardening/lsan.supp:print_suppressions=0" SDL_AUDIODRIVER=dummy

# run_one TARGET: prints "ok TARGET ..." or the failure with its log's telling lines.
run_one() {
  local t="$1" log="$build/fuzz-$1.log" work="$build/fuzz-corpus/$1" launch=() args=() runs status=0
  [ "$t" = fuzz_font ] && launch=("$here/../tests/hardening/with-xvfb.sh")   # needs an OpenGL context
  # Larger inputs where the format needs them (list lines split at 1023 bytes); fixed counts: 10 to 25 s on two cores.
  case "$t" in fuzz_list_file) args=(-max_len=8192) runs=20000 ;; fuzz_font) args=(-max_len=16384) runs=5000 ;;
               *) args=(-max_len=4096) runs=100000 ;; esac
  args+=(-timeout=20 -print_final_stats=1 "-artifact_prefix=$build/fuzz-artifacts/$t-")
  if [ "$mode" = --fixed ]; then
    # A scratch copy of the seeds; cmp feedback off, as operands (some are addresses, moving run to run) steer it.
    work=$(mktemp -d) && cp "$here/corpus/$t"/* "$work"/
    "${launch[@]}" "$build/fuzz/$t" "$here/corpus/$t"/* >"$log" 2>&1 &&
      "${launch[@]}" "$build/fuzz/$t" "${args[@]}" -seed=1 -runs=$runs -reload=0 -use_cmp=0 "$work" >>"$log" 2>&1 || status=$?
  else
    mkdir -p "$work" && cp -n "$here/corpus/$t"/* "$work"/ 2>/dev/null || true
    "${launch[@]}" "$build/fuzz/$t" "${args[@]}" -max_total_time="$mode" "$work" >"$log" 2>&1 || status=$?
  fi
  # The corpus's file names are its inputs' hashes: equal digests, equal runs.
  [ $status -eq 0 ] && echo "ok $t: $(grep -oP 'number_of_executed_units: *\K[0-9]+' "$log") inputs," \
                            "corpus $(ls "$work" | wc -l) (digest $(ls "$work" | sha1sum | cut -c1-12))" ||
    { echo "FAILED $t (log $log):"; grep -E '^Running: |ERROR|SUMMARY|Test unit written|runtime error|^[a-z ]+: ' "$log" | tail -n 20; }
  [ "$mode" = --fixed ] && rm -rf "$work"
  return 0
}

for t in "${targets[@]}"; do
  [ "$(jobs -r | wc -l)" -ge "${FUZZ_JOBS:-$(nproc)}" ] && wait -n
  run_one "$t" >"$build/fuzz-$t.result" &
done
wait
failed=0
for t in "${targets[@]}"; do
  grep -q '^ok ' "$build/fuzz-$t.result" && echo "fuzz: $(cat "$build/fuzz-$t.result")" ||
    { cat "$build/fuzz-$t.result" >&2; failed=$((failed + 1)); }
done
echo "fuzz: $(( ${#targets[@]} - failed )) passed, $failed failed"
[ $failed -eq 0 ]
