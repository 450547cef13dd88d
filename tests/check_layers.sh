#!/bin/sh
# Fails when a file under src/ includes a folder its own folder may not use:
# the layers point one way, and README.md draws the same map.
root="$1"

# The folders each folder may include besides itself.
allowed() {
  case "$1" in
  platform | common | state) echo "" ;;
  audio) echo "platform common" ;;
  presentation) echo "platform common audio" ;;
  persistence) echo "common state audio" ;;
  playfield) echo "platform common state audio presentation" ;;
  replay) echo "platform common state audio persistence playfield" ;;
  game) echo "platform common state audio presentation persistence playfield replay" ;;
  screens) echo "platform common state audio presentation persistence" ;;
  shell) echo "platform common state audio presentation persistence playfield replay game screens" ;;
  *) echo "?" ;;
  esac
}

report=$(
  for dir in "$root"/src/*/; do
    folder=$(basename "$dir")
    permitted=$(allowed "$folder")
    if [ "$permitted" = "?" ]; then
      echo "src/$folder/ is not in the layer map of tests/check_layers.sh"
      continue
    fi
    # A quoted include names its folder first: "folder/file.h".
    grep -rnoE '#\s*include\s*"[^"/]+/' "$dir" | while IFS= read -r hit; do
      target=$(printf '%s\n' "$hit" | sed -E 's/.*"([^"/]+)\/$/\1/')
      case " $folder $permitted " in
      *" $target "*) ;;
      *) echo "${hit%%:#*}: src/$folder/ may not include $target/" ;;
      esac
    done
  done
  grep -nE '#\s*include\s*"' "$root/src/main.cpp" | grep -v '"shell/' |
    sed 's/^/src\/main.cpp may include only shell\/: /'
)
if [ -n "$report" ]; then
  echo "$report"
  exit 1
fi
echo "layers point one way"
