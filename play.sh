#!/bin/sh
# Installs what is missing, builds the game and its data, and starts it.
set -e
cd "$(dirname "$0")"
sh scripts/install-deps.sh
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
cd build
exec ./pelta "$@"
