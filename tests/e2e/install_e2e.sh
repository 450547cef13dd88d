#!/bin/bash
# The installed game. cmake --install into a scratch prefix gives the
# programs, the data (no player file) with the font's licence, the desktop
# entry, the metainfo, the icons, the man pages and the copyright file, and
# the desktop files pass their validators (the metainfo pedantically: only
# the upper-case letter of the application id is left, kept because the
# desktop entry, the icons and the window class are named by it). The
# installed pelta, started from an unrelated folder with a scratch HOME,
# finds its data in the prefix, shows the menu in a window of the desktop
# entry's class with its icon, and keeps its settings under
# ~/.local/share/pelta (Page Down twice from the default 7000: 5000); it
# writes nothing into the prefix or the working folder. Without a display it
# ends at once; --help, --version and a bad option answer as documented.
. "$(dirname "$0")/lib.sh"
unset PELTA_USER_DIR PELTA_DATA_DIR XDG_DATA_HOME
export HOME="$WORK/home"
mkdir "$HOME"
PREFIX="$WORK/prefix"
APP=io.github.pelta.Pelta
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$WORK/install.log")"
for f in bin/pelta bin/pelta-sim share/pelta/data/primitives.pta share/pelta/data/setting.pta \
  share/pelta/data/xm00.xm share/pelta/data/w12.wav share/applications/$APP.desktop \
  share/metainfo/$APP.metainfo.xml share/icons/hicolor/64x64/apps/$APP.png \
  share/icons/hicolor/128x128/apps/$APP.png share/icons/hicolor/256x256/apps/$APP.png \
  share/man/man6/pelta.6.gz share/man/man6/pelta-sim.6.gz share/doc/pelta/copyright \
  share/pelta/data/xf1.pta.license share/icons/hicolor/16x16/apps/$APP.png; do
  [ -f "$PREFIX/$f" ] || fail "not installed: $f"
done
[ -e "$PREFIX/share/pelta/data/tt.pta" ] && fail "a player's tt.pta was installed"
[ "$(od -An -t u4 -j 16 -N 4 --endian=big "$PREFIX/share/icons/hicolor/256x256/apps/$APP.png" | tr -d ' ')" = 256 ] ||
  fail "the 256 px icon is not 256 pixels wide"
DESTDIR="$WORK/staged" cmake --install "$BUILD" >/dev/null 2>&1
[ -n "$(find "$WORK/staged" -path '*/bin/pelta' -type f)" ] || fail "DESTDIR was not honoured"

said=$(desktop-file-validate "$PREFIX/share/applications/$APP.desktop" 2>&1) ||
  fail "desktop-file-validate: $said"
[ -z "$said" ] || fail "desktop-file-validate: $said"
said=$(appstreamcli validate --no-net --pedantic "$PREFIX/share/metainfo/$APP.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $said"
grep -E '^[A-Z]: ' <<<"$said" | grep -qv '^P: .*: cid-contains-uppercase-letter ' &&
  fail "appstreamcli validate: $said"
for page in pelta pelta-sim; do
  said=$(zcat "$PREFIX/share/man/man6/$page.6.gz" | groff -t -man -Tutf8 -ww -z 2>&1)
  [ -z "$said" ] || fail "$page.6: $said"
done

# The answers that need no window.
GAME="$PREFIX/bin/pelta"
"$GAME" --help | head -1 | grep -q '^Usage: pelta \[OPTIONS\] \[ROW\]$' || fail "--help"
"$GAME" --version | grep -q '^pelta 2\.0 (build .*)$' || fail "--version"
"$GAME" --foo >/dev/null 2>"$WORK/err"
[ $? = 2 ] && [ "$(head -1 "$WORK/err")" = 'pelta: unknown option "--foo"' ] || fail "--foo"
said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$GAME" 2>&1)
[ $? = 1 ] && [ "$(wc -l <<<"$said")" = 1 ] || fail "without a display: $said"
[ "$("$PREFIX/bin/pelta-sim" --seed 3 --frames 2 | wc -l)" = 2 ] || fail "the installed pelta-sim"

before=$(cd "$PREFIX" && find . -printf '%p %s %T@ %m\n' | sort)
start_game
window=$(xdotool search --onlyvisible --name "^Pelta 2.0$" | head -1)
class=$(sed -n 's/^StartupWMClass=//p' "$PREFIX/share/applications/$APP.desktop")
xprop -id "$window" WM_CLASS | grep -q "= \"$class\", \"$class\"$" ||
  fail "window class $(xprop -id "$window" WM_CLASS), desktop entry $class"
xprop -id "$window" _NET_WM_ICON | grep -q 'Icon (64 x 64)' || fail "the window has no icon"
press ctrl p
shot="$HOME/.local/share/pelta/screenshots/scr_001.bmp"
wait_until 10 test -f "$shot" || fail "no screenshot in ~/.local/share/pelta: $(cat "$WORK/game.log")"
colours=$(convert "$shot" -format %k info:)
[ "$colours" -gt 50 ] || fail "the menu is not on screen ($colours colours)"
press Next
press Next
press Pause
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "Pause: exit $EXIT_CODE"
settings="$HOME/.local/share/pelta/data/setting.pta"
music=$(od -An -t d4 -j 4 -N 4 "$settings" | tr -d ' ')
[ "$music" = 5000 ] || fail "music volume $music in $settings, expected 5000"
[ "$(cd "$PREFIX" && find . -printf '%p %s %T@ %m\n' | sort)" = "$before" ] ||
  fail "the game wrote into its install prefix"
check_working_folder_untouched
echo "PASS install e2e"
