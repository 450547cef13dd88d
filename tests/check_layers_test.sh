#!/bin/sh
# SPDX-License-Identifier: MIT
# The layer check itself: a small tree with one use of each kind across the
# layers (a quoted include, one in angle brackets, a written-out declaration
# of a function and of a global) must fail with each named, and the same
# tree without them must pass.
check="$(dirname "$0")/check_layers.sh"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/state" "$tree/src/playfield" "$tree/src/common" "$tree/src/audio"
printf '#pragma once\nvoid setUpPlayfield();\nextern int cells;\n' >"$tree/src/playfield/grid.h"
printf '#pragma once\nvoid changeScreen(int target);\n' >"$tree/src/state/screen_state.h"
printf '#include "playfield/grid.h"\nint cells = 0;\nvoid setUpPlayfield() {}\n' >"$tree/src/playfield/grid.cpp"
printf '#include "common/x.h"\n' >"$tree/src/audio/audio.cpp"
printf '#include "shell/shell.h"\nint main() {}\n' >"$tree/src/main.cpp"

if ! sh "$check" "$tree" >/dev/null; then
  echo "a clean tree was refused:"
  sh "$check" "$tree"
  exit 1
fi
printf '#include "playfield/grid.h"\n' >>"$tree/src/state/screen_state.h"
printf '#include <playfield/grid.h>\n' >>"$tree/src/audio/audio.cpp"
printf 'void changeScreen(\n    int target);\n' >>"$tree/src/common/x.cpp"
printf 'extern int cells;\n' >>"$tree/src/state/reset.cpp"
report=$(sh "$check" "$tree")
status=$?
failed=0
for expected in "screen_state.h:3: src/state/ may not include playfield/" \
  "audio.cpp:2: src/audio/ may not include playfield/" \
  "x.cpp:1: src/common/ may not declare changeScreen of state/" \
  "reset.cpp:1: src/state/ may not declare cells of playfield/"; do
  case "$report" in
  *"$expected"*) ;;
  *) echo "not caught: $expected" && failed=1 ;;
  esac
done
if [ "$status" -eq 0 ] || [ "$failed" -ne 0 ]; then
  echo "exit status $status; the check said:"
  echo "$report"
  exit 1
fi
echo "the layer check catches all four"
