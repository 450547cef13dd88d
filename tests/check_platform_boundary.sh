#!/bin/sh
# Fails when any source outside src/platform/ includes SDL or libopenmpt.
root="$1"
bad=$(grep -rlE '#\s*include\s*[<"](SDL|SDL2/|libopenmpt)' "$root/src" | grep -v "^$root/src/platform/")
if [ -n "$bad" ]; then
  echo "SDL or libopenmpt included outside src/platform/:"
  echo "$bad"
  exit 1
fi
echo "platform boundary clean"
