#!/bin/sh
# SPDX-License-Identifier: MIT
# Configuring finds the font by name through fontconfig, takes a file given
# with -DPELTA_FONT_FILE when fontconfig knows no such font, refuses a file
# that does not exist, and without either stops with one line that says what
# to install. Each case configures the source in a scratch folder.
SRC="$1"
WORK=$(mktemp -d /tmp/pelta-font-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
configure() {
  rm -rf "$WORK/build"
  cmake -S "$SRC" -B "$WORK/build" -DBUILD_TESTING=OFF -DPELTA_BUILD_BENCH=OFF "$@" >"$WORK/log" 2>&1
}
chosen() { sed -n 's/^-- Font for data\/xf1.pta: //p' "$WORK/log"; }

found=$(fc-match -f '%{file}' 'DejaVu Sans Mono:style=Book')
configure || fail "with fontconfig: $(cat "$WORK/log")"
[ "$(chosen)" = "$found" ] || fail "with fontconfig: chose '$(chosen)', fontconfig has '$found'"

# A fontconfig that knows no fonts at all (it still answers every query).
echo '<fontconfig></fontconfig>' >"$WORK/fonts.conf"
export FONTCONFIG_FILE="$WORK/fonts.conf"
cp "$found" "$WORK/mono.ttf"
configure -DPELTA_FONT_FILE="$WORK/mono.ttf" || fail "with the option: $(cat "$WORK/log")"
[ "$(chosen)" = "$WORK/mono.ttf" ] || fail "with the option: chose '$(chosen)'"

configure -DPELTA_FONT_FILE="$WORK/missing.ttf" && fail "a missing PELTA_FONT_FILE was taken"
grep -q "missing.ttf: no such font file" "$WORK/log" || fail "a missing file: $(cat "$WORK/log")"

configure && fail "configured without a font"
grep -q '^ *The font DejaVu Sans Mono was not found: install fonts-dejavu-core and fontconfig, or give its file with -DPELTA_FONT_FILE=PATH$' \
  "$WORK/log" || fail "without a font: $(cat "$WORK/log")"
echo "PASS configure font"
