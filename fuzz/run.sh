#!/usr/bin/env bash
# Runs the fuzz targets of a VESK_FUZZ build, as many at once as there are
# cores (FUZZ_JOBS to change that):
#   fuzz/run.sh BUILD_DIR --fixed [TARGET...]     what scripts/test runs
#   fuzz/run.sh BUILD_DIR SECONDS [TARGET...]     random, SECONDS each
# Fixed: every committed seed (fuzz/corpus/<target>) is replayed whole, then
# the target's own number of inputs (fixed_runs) is fuzzed from one fixed
# seed on a scratch copy of the seeds, so a commit always gets the same
# verdict. Random: a new seed each run, starting from what earlier random
# runs learnt (BUILD_DIR/fuzz-corpus/<target>). A crash, leak, timeout or
# failed check leaves its input in BUILD_DIR/fuzz-artifacts and fails this
# script; replay it with BUILD_DIR/fuzz/<target> FILE.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
usage="usage: fuzz/run.sh BUILD_DIR --fixed|SECONDS_EACH [TARGET...]"
build="$(cd "${1:?$usage}" && pwd)"
mode="${2:?$usage}"
shift 2
case "$mode" in
  --fixed) ;;
  *[!0-9]*|'') echo "$usage" >&2; exit 2 ;;
esac
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_list_file fuzz_rect_packer fuzz_sprite_packing fuzz_notation fuzz_font)
jobs="${FUZZ_JOBS:-$(nproc)}"

export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/../tests/hardening/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy

# Larger inputs where the format needs them (list lines split at 1023 bytes).
max_len() { case "$1" in fuzz_list_file) echo 8192 ;; fuzz_font) echo 16384 ;; *) echo 4096 ;; esac; }
# Inputs per target in the fixed run, seeds included: 10 to 25 s each on a
# 2-core machine with both cores busy.
fixed_runs() { case "$1" in fuzz_list_file) echo 20000 ;; fuzz_font) echo 5000 ;; fuzz_notation) echo 200000 ;; *) echo 100000 ;; esac; }

# run_one TARGET: fuzzes one target; its verdict goes to BUILD_DIR/fuzz-TARGET.result.
run_one() {
  local t="$1" exe="$build/fuzz/$1" artifacts="$build/fuzz-artifacts" start runs cov work step status=0 found
  local log="$build/fuzz-$t.log" result="$build/fuzz-$t.result" launch=()
  start=$(date +%s)
  [ -x "$exe" ] || { echo "FAILED $t: not built in $build" > "$result"; return; }
  mkdir -p "$artifacts"
  # Font loading needs an OpenGL context: a virtual screen of its own.
  [ "$t" = fuzz_font ] && launch=("$here/../tests/hardening/with-xvfb.sh")
  local cmd=("$exe" -timeout=20 -max_len="$(max_len "$t")" -print_final_stats=1 -artifact_prefix="$artifacts/$t-")
  [ -f "$here/${t#fuzz_}.dict" ] && cmd+=(-dict="$here/${t#fuzz_}.dict")
  if [ "$mode" = --fixed ]; then
    # The corpus the fuzzer grows is a scratch copy: the committed seeds stay
    # as they are and nothing from an earlier run is read. Comparison operands
    # would steer the mutations, and some are addresses, which move from run
    # to run: cmp feedback is off.
    work=$(mktemp -d)
    cp "$here/corpus/$t"/* "$work"/
    step="seed replay"
    "${launch[@]}" "$exe" "$here/corpus/$t"/* > "$log" 2>&1 || status=$?
    if [ $status -eq 0 ]; then
      step="fuzzing"
      "${launch[@]}" "${cmd[@]}" -seed=1 -runs="$(fixed_runs "$t")" -reload=0 -use_cmp=0 "$work" >> "$log" 2>&1 || status=$?
    fi
  else
    work="$build/fuzz-corpus/$t"
    mkdir -p "$work"
    cp -n "$here/corpus/$t"/* "$work"/ 2>/dev/null || true
    step="fuzzing"
    "${launch[@]}" "${cmd[@]}" -max_total_time="$mode" "$work" > "$log" 2>&1 || status=$?
  fi
  if [ $status -eq 0 ]; then
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
    cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo '?')
    # The corpus's file names are its inputs' hashes: equal digests, equal runs.
    echo "ok $t: $(ls "$here/corpus/$t" | wc -l) seeds, $runs inputs in $(( $(date +%s) - start )) s, coverage $cov," \
         "corpus $(ls "$work" | wc -l) (digest $(ls "$work" | sha1sum | cut -c1-12))" > "$result"
  else
    found=$(grep -E 'ERROR|SUMMARY|^[a-z ]+: .*[(]|Test unit written|runtime error' "$log" | head -20)
    {
      echo "FAILED $t in $step (log $log):"
      [ "$step" = "seed replay" ] && grep "^Running: " "$log" | tail -n1   # the seed that failed
      if [ -n "$found" ]; then echo "$found"; else tail -20 "$log"; fi
    } > "$result"
  fi
  [ "$mode" = --fixed ] && rm -rf "$work"
  return 0
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
