#!/bin/bash
# SPDX-License-Identifier: MIT
# The Debian package, as a packager makes it and a player gets it. A Release
# build of the source in a folder of its own, `cpack -G DEB`, gives exactly
# pelta_<version>_<arch>.deb; lintian reports no error and no warning; the
# package holds stripped programs in /usr/games, the copyright file with
# both licences, the changelog, the data with the font (linked to the
# system's copy, whose package is a dependency) and its licence beside it,
# the desktop entry, the metainfo of this version, every icon size and the
# man pages; its Depends are what dpkg-shlibdeps reads from its programs;
# and the unpacked game, started from an unrelated folder, finds its data in
# the package tree and shows its menu.
# Arguments: BUILD SOURCE VERSION [COMPILER_LAUNCHER]
for tool in cpack lintian dpkg-deb dpkg-shlibdeps file; do
  command -v $tool >/dev/null || { echo "SKIP: $tool is missing (Debian: cmake, lintian, dpkg-dev, file)"; exit 77; }
done
SRC="$2"
VERSION="$3"
LAUNCHER="$4"
. "$(dirname "$0")/lib.sh"
export HOME="$WORK/home"
mkdir "$HOME"

# The Release build is kept in BUILD/deb-release, so a second run rebuilds
# only what changed; the package is made afresh each time.
B="$BUILD/deb-release"
rm -f "$B"/*.deb
cmake -S "$SRC" -B "$B" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DPELTA_BUILD_BENCH=OFF \
  ${LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$LAUNCHER -DCMAKE_CXX_COMPILER_LAUNCHER=$LAUNCHER} >"$WORK/build.log" 2>&1 &&
  cmake --build "$B" >>"$WORK/build.log" 2>&1 || fail "Release build: $(tail -20 "$WORK/build.log")"
(cd "$B" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || fail "cpack: $(cat "$WORK/cpack.log")"
DEB="$B/pelta_${VERSION}_$(dpkg --print-architecture).deb"
[ "$(cd "$B" && ls ./*.deb)" = "./$(basename "$DEB")" ] || fail "cpack wrote $(cd "$B" && ls ./*.deb), not $(basename "$DEB")"
[ "$(dpkg-deb -f "$DEB" Package Version)" = "Package: pelta
Version: $VERSION" ] || fail "control: $(dpkg-deb -f "$DEB")"

# Info tags are shown, not failed on (the closing report lists them).
lintian --display-info --fail-on error,warning "$DEB" >"$WORK/lintian.log" 2>&1 || fail "lintian: $(cat "$WORK/lintian.log")"
grep -E '^[EW]: ' "$WORK/lintian.log" && fail "lintian: $(cat "$WORK/lintian.log")"
cat "$WORK/lintian.log"

R="$WORK/root"
dpkg-deb -x "$DEB" "$R" || fail "dpkg-deb -x"
APP=io.github.pelta.Pelta
DOC="$R/usr/share/doc/pelta"
files=(usr/share/pelta/data/xf1.pta.license usr/share/pelta/data/primitives.pta
  usr/share/pelta/data/setting.pta usr/share/pelta/data/xm00.xm usr/share/pelta/data/w12.wav
  usr/share/applications/$APP.desktop usr/share/metainfo/$APP.metainfo.xml
  usr/share/man/man6/pelta.6.gz usr/share/man/man6/pelta-sim.6.gz)
for f in "${files[@]}"; do
  [ -s "$R/$f" ] || fail "not in the package: $f"
done
[ -e "$R/usr/share/pelta/data/tt.pta" ] && fail "a player's tt.pta is in the package"
for size in 16 24 32 48 64 128 256; do
  icon="$R/usr/share/icons/hicolor/${size}x$size/apps/$APP.png"
  [ "$(file -b "$icon" | cut -d, -f2)" = " $size x $size" ] || fail "icon ${size}px: $(file -b "$icon")"
done
for program in pelta pelta-sim; do
  what=$(file -b "$R/usr/games/$program")
  [[ "$what" == *ELF*", stripped"* ]] || fail "$program: $what"
done
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$DOC/copyright" &&
  grep -q '^License: MIT$' "$DOC/copyright" && grep -q '^License: Bitstream-Vera$' "$DOC/copyright" ||
  fail "copyright: $(cat "$DOC/copyright")"
changelog=$(ls "$DOC" | grep '^changelog')
zcat "$DOC/$changelog" | head -1 | grep -q "^pelta ($VERSION) " || fail "changelog $changelog"
released=$(date -u -d "$(zcat "$DOC/$changelog" | sed -n 's/^ -- .*>  //p' | head -1)" +%F)
cmp -s "$R/usr/share/pelta/data/xf1.pta.license" "$SRC/dist/font-licence.txt" || fail "the font's licence"
grep -q '<project_license>MIT</project_license>' "$R/usr/share/metainfo/$APP.metainfo.xml" &&
  grep -q "<release version=\"$VERSION\" date=\"$released\">" "$R/usr/share/metainfo/$APP.metainfo.xml" ||
  fail "metainfo: $(cat "$R/usr/share/metainfo/$APP.metainfo.xml")"

# The font: a link to the system's copy, whose package is a dependency (the
# link is put in place in the unpacked tree, as installing that package
# would), or a copy when no package holds the font the build found.
DATA="$R/usr/share/pelta/data"
font_package=""
if [ -L "$DATA/xf1.pta" ]; then
  target=$(readlink "$DATA/xf1.pta")
  [[ "$target" == ../* ]] || fail "xf1.pta links to $target, not relatively"
  system_font=$(realpath -m "/usr/share/pelta/data/$target")
  font_package=$(dpkg-query -S "$system_font" | cut -d: -f1)
  [ -n "$font_package" ] || fail "xf1.pta links to $system_font, which no package holds"
  mkdir -p "$(dirname "$R$system_font")" && cp "$system_font" "$R$system_font"
fi
[ "$(head -c 4 "$DATA/xf1.pta" | od -An -tx1 | tr -d ' ')" = 00010000 ] || fail "xf1.pta is not a TrueType font"

# dpkg-shlibdeps reads the package name from debian/control.
mkdir -p "$WORK/shlibs/debian"
printf 'Source: pelta\n\nPackage: pelta\nArchitecture: any\n' >"$WORK/shlibs/debian/control"
wanted=$(cd "$WORK/shlibs" && dpkg-shlibdeps -O "$R/usr/games/pelta" "$R/usr/games/pelta-sim" 2>/dev/null |
  sed 's/^shlibs:Depends=//' | tr ',' '\n' | sed 's/^ *//' | sort)
declared=$(dpkg-deb -f "$DEB" Depends | tr ',' '\n' | sed 's/^ *//' | grep -vx "$font_package" | sort)
[ -z "$font_package" ] || dpkg-deb -f "$DEB" Depends | grep -q "\b$font_package\b" ||
  fail "Depends lacks $font_package"
[ -n "$wanted" ] && [ "$declared" = "$wanted" ] || fail "Depends: $declared
dpkg-shlibdeps: $wanted"
grep -q -- '-dev\b' <<<"$declared" && fail "a development package in Depends: $declared"

GAME="$R/usr/games/pelta"
"$GAME" --version | grep -q "^pelta $VERSION (build .*)$" || fail "--version: $("$GAME" --version)"
unset PELTA_USER_DIR PELTA_DATA_DIR XDG_DATA_HOME
start_game
press ctrl p
shot="$HOME/.local/share/pelta/screenshots/scr_001.bmp"
# A loaded machine may take a few frames' time longer to write it.
for _ in $(seq 1 50); do
  [ -f "$shot" ] && break
  sleep 0.1
done
sleep 0.3
[ -f "$shot" ] || fail "no screenshot: $(cat "$WORK/game.log")"
[ "$(convert "$shot" -format %k info:)" -gt 50 ] || fail "the menu is not on screen"
press Pause
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "Pause: exit $EXIT_CODE"
check_working_folder_untouched
echo "PASS Debian package ($(du -k "$DEB" | cut -f1) KiB; Depends: $(dpkg-deb -f "$DEB" Depends))"
