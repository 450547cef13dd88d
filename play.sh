#!/bin/sh
# Installs what is missing, builds the game and its data optimised (Release,
# in build-release/, apart from the test build in build/) and starts it. The
# game finds build-release/data beside itself and keeps the player's files in
# the user folder (~/.local/share/pelta), so the test packages are not needed.
set -e
cd "$(dirname "$0")"
if [ "$1" = "--web" ]; then
  # The browser build: the desktop build makes the game data, emscripten
  # the page's files in build-web/site, served on http://localhost:8000/.
  sh scripts/install-deps.sh --web
  [ -f build-release/build.ninja ] ||
    cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELTA_BUILD_BENCH=OFF
  cmake --build build-release --target game_data
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  [ -f build-web/build.ninja ] || emcmake cmake -S . -B build-web -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DPELTA_WEB_DATA="$PWD/build-release/data"
  cmake --build build-web
  echo "Pelta 2.0 is served on http://localhost:8000/ (Ctrl+C stops the server)"
  exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
fi
sh scripts/install-deps.sh
[ -f build-release/build.ninja ] ||
  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELTA_BUILD_BENCH=OFF
cmake --build build-release
exec ./build-release/pelta "$@"
