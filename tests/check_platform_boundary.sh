#!/bin/sh
# Fails when any source outside src/platform/ includes SDL, libopenmpt or a
# browser's headers (emscripten's, WebGL's).
root="$1"
bad=$(grep -rlE '#\s*include\s*[<"](SDL|SDL2/|libopenmpt|emscripten|GLES|EGL/|webgl/)' "$root/src" | grep -v "^$root/src/platform/")
if [ -n "$bad" ]; then
  echo "SDL, libopenmpt or a browser header included outside src/platform/:"
  echo "$bad"
  exit 1
fi
echo "platform boundary clean"
