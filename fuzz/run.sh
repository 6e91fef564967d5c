#!/usr/bin/env bash
# Runs the fuzz targets of a VESK_FUZZ build, FUZZ_JOBS (default: cores) at once:
#   fuzz/run.sh BUILD_DIR --fixed [TARGET...]    every committed seed, then a fixed number of inputs
#                                                from one fixed seed: what scripts/test runs
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]    random, SECONDS each, growing BUILD_DIR/fuzz-corpus
# A crash, leak, timeout or failed check leaves its input in BUILD_DIR/fuzz-artifacts and fails
# this script; replay it with BUILD_DIR/fuzz/<target> FILE.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
usage="usage: fuzz/run.sh BUILD_DIR --fixed|SECONDS_EACH [TARGET...]"
build="$(cd "${1:?$usage}" && pwd)"
mode="${2:?$usage}"
shift 2
[[ "$mode" == --fixed || "$mode" =~ ^[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }
targets=("${@:-fuzz_list_file fuzz_rect_packer fuzz_sprite_packing fuzz_notation fuzz_font}")
read -r -a targets <<< "${targets[*]}"

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/../tests/hardening/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy

# Larger inputs where the format needs them (list lines split at 1023 bytes).
max_len() { case "$1" in fuzz_list_file) echo 8192 ;; fuzz_font) echo 16384 ;; *) echo 4096 ;; esac; }
# Inputs per target in the fixed run, seeds included: 10 to 25 s each on a
# 2-core machine with both cores busy.
fixed_runs() { case "$1" in fuzz_list_file) echo 20000 ;; fuzz_font) echo 5000 ;; fuzz_notation) echo 200000 ;; *) echo 100000 ;; esac; }

# run_one TARGET: fuzzes one target and writes its verdict to BUILD_DIR/fuzz-TARGET.result.
run_one() {
  local t="$1" log="$build/fuzz-$t.log" start=$SECONDS step=fuzzing status=0 work launch=()
  # Font loading needs an OpenGL context: a virtual screen of its own.
  [ "$t" = fuzz_font ] && launch=("$here/../tests/hardening/with-xvfb.sh")
  local cmd=("${launch[@]}" "$build/fuzz/$t" -timeout=20 -max_len="$(max_len "$t")" -print_final_stats=1
             -artifact_prefix="$build/fuzz-artifacts/$t-")
  [ -f "$here/${t#fuzz_}.dict" ] && cmd+=(-dict="$here/${t#fuzz_}.dict")
  mkdir -p "$build/fuzz-artifacts"
  if [ "$mode" = --fixed ]; then
    # The corpus the fuzzer grows is a scratch copy, and nothing of an earlier
    # run is read. Comparison operands would steer the mutations, and some are
    # addresses, which move from run to run: cmp feedback is off.
    work=$(mktemp -d)
    cp "$here/corpus/$t"/* "$work"/
    step="seed replay"
    "${launch[@]}" "$build/fuzz/$t" "$here/corpus/$t"/* > "$log" 2>&1 || status=$?
    [ $status -eq 0 ] && step=fuzzing &&
      { "${cmd[@]}" -seed=1 -runs="$(fixed_runs "$t")" -reload=0 -use_cmp=0 "$work" >> "$log" 2>&1 || status=$?; }
  else
    work="$build/fuzz-corpus/$t"
    mkdir -p "$work"
    cp -n "$here/corpus/$t"/* "$work"/ 2>/dev/null || true
    "${cmd[@]}" -max_total_time="$mode" "$work" > "$log" 2>&1 || status=$?
  fi
  if [ $status -eq 0 ]; then
    # The corpus's file names are its inputs' hashes: equal digests, equal runs.
    echo "ok $t: $(ls "$here/corpus/$t" | wc -l) seeds, $(grep -oP 'number_of_executed_units: *\K[0-9]+' "$log")" \
         "inputs in $((SECONDS - start)) s, corpus $(ls "$work" | wc -l) (digest $(ls "$work" | sha1sum | cut -c1-12))"
  else
    echo "FAILED $t in $step (log $log):"
    grep "^Running: " "$log" | tail -n1   # in seed replay, the seed that failed
    grep -E 'ERROR|SUMMARY|^[a-z ]+: .*[(]|Test unit written|runtime error' "$log" | head -20 || tail -20 "$log"
  fi > "$build/fuzz-$t.result"
  [ "$mode" = --fixed ] && rm -rf "$work"
  return 0
}

for t in "${targets[@]}"; do
  [ "$(jobs -r | wc -l)" -ge "${FUZZ_JOBS:-$(nproc)}" ] && wait -n
  run_one "$t" &
done
wait
failed=0
for t in "${targets[@]}"; do
  head -n1 "$build/fuzz-$t.result" 2>/dev/null | grep -q '^ok ' && echo "fuzz: $(cat "$build/fuzz-$t.result")" ||
    { cat "$build/fuzz-$t.result" >&2 2>/dev/null || echo "FAILED $t: no result" >&2; failed=$((failed + 1)); }
done
echo "fuzz: $(( ${#targets[@]} - failed )) passed, $failed failed"
[ $failed -eq 0 ]
