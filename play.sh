#!/bin/sh
# Installs what is missing, builds the game and its data, and starts it. The
# game finds build/data beside itself and keeps the player's files in the
# user folder (~/.local/share/pelta), so the test packages are not needed.
set -e
cd "$(dirname "$0")"
if [ "$1" = "--web" ]; then
  # The browser build: the desktop build makes the game data, emscripten
  # the page's files in build-web/site, served on http://localhost:8000/.
  sh scripts/install-deps.sh --web
  [ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build --target game_data pelta-sim
  export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
  [ -f build-web/build.ninja ] || emcmake cmake -S . -B build-web -G Ninja \
    -DCMAKE_BUILD_TYPE=Release -DPELTA_WEB_DATA="$PWD/build/data"
  cmake --build build-web
  echo "Pelta 2.0 is served on http://localhost:8000/ (Ctrl+C stops the server)"
  exec python3 -m http.server 8000 --bind 127.0.0.1 --directory build-web/site
fi
sh scripts/install-deps.sh
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build
exec ./build/pelta "$@"
