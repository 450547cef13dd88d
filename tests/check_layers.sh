#!/bin/sh
# Fails when a file under src/ uses a folder its own folder may not use: by
# an include (quoted or in angle brackets) or by declaring a function or a
# global that a header of such a folder declares. The layers point one way,
# and README.md draws the same map.
root="$1"

# The folders each folder may include besides itself.
allowed() {
  case "$1" in
  platform | common) echo "" ;;
  state) echo "common" ;;
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

# Statements that start at the left margin, each joined onto one line with
# its file and line number: "file:line:statement".
statements() {
  awk '
    FNR == 1 { open = 0 }
    open { text = text " " $0 }
    !open && /^[A-Za-z_]/ { open = 1; start = FNR; text = $0 }
    open && /[;{]/ { print FILENAME ":" start ":" text; open = 0 }
  ' "$@"
}

# The function or global a statement declares without defining it:
# "type name(...);" or "extern type name;".
declared_name() {
  sed -nE -e 's/^[^:]*:[0-9]+:extern [^;(]*[ *&]([A-Za-z_][A-Za-z0-9_]*)(\[[^]]*\])* *;.*/\1/p' \
    -e '/^[^:]*:[0-9]+:(extern|return|using|typedef|namespace|template)[ <]/d' \
    -e 's/^[^:]*:[0-9]+:[A-Za-z_][A-Za-z0-9_:<>,*& ]*[ *&]([A-Za-z_][A-Za-z0-9_]*) *\([^{]*\) *(const)? *(noexcept)? *;$/\1/p'
}

# The same, with where it stands: "file:line name".
declared_where() {
  sed -nE -e 's/^([^:]*:[0-9]+):extern [^;(]*[ *&]([A-Za-z_][A-Za-z0-9_]*)(\[[^]]*\])* *;.*/\1 \2/p' \
    -e '/^[^:]*:[0-9]+:(extern|return|using|typedef|namespace|template)[ <]/d' \
    -e 's/^([^:]*:[0-9]+):[A-Za-z_][A-Za-z0-9_:<>,*& ]*[ *&]([A-Za-z_][A-Za-z0-9_]*) *\([^{]*\) *(const)? *(noexcept)? *;$/\1 \2/p'
}

names=$(mktemp)
trap 'rm -f "$names"' EXIT
# "folder name" for every function and global a folder's headers declare.
for dir in "$root"/src/*/; do
  folder=$(basename "$dir")
  headers=$(find "$dir" -name '*.h')
  [ -n "$headers" ] || continue
  # shellcheck disable=SC2086
  statements $headers | declared_name | sed "s/^/$folder /"
done | sort -u >"$names"

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
    # So does one in angle brackets, when the folder is one of src/.
    grep -rnoE '#\s*include\s*<[^>/]+/' "$dir" | while IFS= read -r hit; do
      target=$(printf '%s\n' "$hit" | sed -E 's/.*<([^>/]+)\/$/\1/')
      [ -d "$root/src/$target" ] || continue
      case " $folder $permitted " in
      *" $target "*) ;;
      *) echo "${hit%%:#*}: src/$folder/ may not include $target/" ;;
      esac
    done
  done
  # A declaration of another folder's function or global, written out
  # instead of included, uses that folder just the same.
  for dir in "$root"/src/*/; do
    folder=$(basename "$dir")
    files=$(find "$dir" -name '*.cpp' -o -name '*.h')
    [ -n "$files" ] || continue
    permitted=$(allowed "$folder" | tr ' ' ,)
    # shellcheck disable=SC2086
    statements $files | declared_where | sed "s/^/$folder ${permitted:--} /"
  done | awk -v names="$names" '
    BEGIN { while ((getline line < names) > 0) { split(line, w, " "); owners[w[2]] = owners[w[2]] " " w[1] } }
    {
      folder = $1; permitted = " " $2 " "; gsub(",", " ", permitted); where = $3; name = $4
      if (index(owners[name] " ", " " folder " ")) next
      n = split(owners[name], list, " ")
      for (i = 1; i <= n; i++)
        if (!index(permitted, " " list[i] " "))
          print where ": src/" folder "/ may not declare " name " of " list[i] "/"
    }'
  grep -nE '#\s*include\s*["<]' "$root/src/main.cpp" | grep -vE '["<](shell/|[^/]*>)' |
    sed 's/^/src\/main.cpp may include only shell\/: /'
)
if [ -n "$report" ]; then
  echo "$report"
  exit 1
fi
echo "layers point one way"
