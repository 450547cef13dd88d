#!/bin/sh
# Installs what is missing, builds everything and runs every test, the
# real-window tests included; then the unit tests again under ASan and UBSan.
set -e
cd "$(dirname "$0")"
sh scripts/install-deps.sh --tests
# Configured every time, so that new test packages are found. The test build
# keeps its debug information (RelWithDebInfo); players get Release.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELTA_REQUIRE_TESTS=ON >/dev/null
cmake --build build
(cd build && ctest --output-on-failure --no-tests=error -j2)
# CTest runs each unit test alone; once more all of them in one process, in
# two shuffled orders, so no test depends on what ran before it.
build/tests/pelta_tests --gtest_shuffle --gtest_repeat=2 --gtest_brief=1
cmake -S . -B build-asan -G Ninja -DPELTA_SANITIZE=ON -DPELTA_REQUIRE_TESTS=ON \
  -DPELTA_BUILD_GAME=OFF -DPELTA_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan
(cd build-asan && ctest --output-on-failure --no-tests=error -j2)
# Every reader of outside input under libFuzzer, ten seconds each; any
# sanitizer report fails the run (scripts/run-fuzz.sh --long runs a million
# inputs per reader).
bash scripts/run-fuzz.sh
