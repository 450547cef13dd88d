#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each briefly.
# Usage: scripts/run-fuzz.sh [seconds per target, default 15]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-15}"
if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzz: clang++ not found, skipping the fuzz targets" >&2
  exit 0
fi
generator=()
if command -v ninja >/dev/null 2>&1; then
  generator=(-G Ninja)
fi
CC=clang CXX=clang++ cmake -S . -B build-fuzz "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELTA_FUZZ=ON -DPELTA_BUILD_GAME=OFF -DPELTA_BUILD_BENCH=OFF -DBUILD_TESTING=OFF >/dev/null
targets=(fuzz_top_ten fuzz_settings fuzz_saved_game fuzz_decode_record)
cmake --build build-fuzz -j2 --target fuzz_seeds "${targets[@]}"
corpus=build-fuzz/corpus
rm -rf "$corpus/files"
build-fuzz/fuzz/fuzz_seeds "$corpus"
for target in "${targets[@]}"; do
  echo "run-fuzz: $target for ${seconds}s"
  mkdir -p "$corpus/$target" build-fuzz/artifacts
  build-fuzz/fuzz/"$target" -max_total_time="$seconds" -print_final_stats=0 \
    -artifact_prefix=build-fuzz/artifacts/"$target"- "$corpus/$target" 2>&1 | tail -n 2
done
echo "run-fuzz: all targets ran without a finding"
