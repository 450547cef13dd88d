#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one.
# Usage: scripts/run-fuzz.sh [seconds per target, default 10]
#        scripts/run-fuzz.sh --long    (1,000,000 executions per target)
# The first sanitizer report or crash ends its target; the script goes on
# with the others, then shows every finding (the report and the input kept
# in build-fuzz/artifacts/) and fails. Figures per target: executions, rate,
# time, coverage and corpus size.
set -uo pipefail
cd "$(dirname "$0")/.."
limit=(-max_total_time="${1:-10}")
if [ "${1:-}" = "--long" ]; then
  limit=(-runs=1000000)
fi
if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzz: clang++ not found, skipping the fuzz targets" >&2
  exit 0
fi
generator=()
if command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
set -e
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELTA_FUZZ=ON -DPELTA_BUILD_GAME=OFF -DPELTA_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
targets=(fuzz_top_ten fuzz_settings fuzz_saved_game fuzz_decode_record fuzz_picture_header
  fuzz_key_script fuzz_command_line fuzz_sound_files fuzz_replay)
cmake --build build-fuzz -j2 --target fuzz_seeds "${targets[@]}"
set +e
corpus=build-fuzz/corpus
artifacts=build-fuzz/artifacts
logs=build-fuzz/logs
rm -rf "$corpus/files"
mkdir -p "$artifacts" "$logs"
build-fuzz/fuzz/fuzz_seeds "$corpus" || exit 1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
failed=()
for target in "${targets[@]}"; do
  mkdir -p "$corpus/$target"
  rm -f "$artifacts/$target"-*
  log="$logs/$target.log"
  started=$(date +%s)
  # The script readers get long inputs: key sequences of thousands of lines.
  case $target in fuzz_key_script | fuzz_replay) length=(-max_len=65536) ;; *) length=() ;; esac
  build-fuzz/fuzz/"$target" "${limit[@]}" "${length[@]}" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$corpus/$target" >"$log" 2>&1
  code=$?
  seconds=$(($(date +%s) - started))
  figure() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  units=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  printf 'run-fuzz: %-20s %9s executions %7s/s %5ss  cov %s ft %s corpus %s  exit %s\n' \
    "$target" "$(figure number_of_executed_units)" "$(figure average_exec_per_sec)" \
    "$seconds" "${cov:-?}" "${ft:-?}" "${units:-?}" "$code"
  found=$(ls "$artifacts/$target"-* 2>/dev/null)
  if [ "$code" != 0 ] || [ -n "$found" ]; then
    failed+=("$target")
    echo "run-fuzz: FINDING in $target (exit $code); the report:"
    grep -E -A30 'ERROR:|runtime error|deadly signal|ALARM|out-of-memory|leak' "$log" | head -n 60
    for input in $found; do
      echo "run-fuzz: the input, kept as $input:"
      od -A d -t x1z "$input" | head -n 12
    done
  fi
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "run-fuzz: findings in ${failed[*]}; full logs in $logs/" >&2
  exit 1
fi
echo "run-fuzz: all ${#targets[@]} targets ran without a finding"
