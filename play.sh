#!/bin/sh
# Installs what is missing, builds the game and its data optimised (Release,
# in build-release/, apart from the test build in build/) and starts it. The
# game finds build-release/data beside itself and keeps the player's files in
# the user folder (~/.local/share/pelta), so the test packages are not needed.
set -e
cd "$(dirname "$0")"
sh scripts/install-deps.sh
[ -f build-release/build.ninja ] ||
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELTA_BUILD_BENCH=OFF
cmake --build build-release
exec ./build-release/pelta "$@"
