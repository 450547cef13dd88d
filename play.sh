#!/bin/sh
# Installs what is missing, builds the game and its data, and starts it. The
# game finds build/data beside itself and keeps the player's files in the
# user folder (~/.local/share/pelta), so the test packages are not needed.
set -e
cd "$(dirname "$0")"
sh scripts/install-deps.sh
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
exec ./build/pelta "$@"
