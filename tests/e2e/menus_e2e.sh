#!/bin/bash
# The menus in a real window: a first start writes tt.pta (1815 letters and
# digits); T and I open their screens and Escape comes back; Escape held from
# the top ten does not quit; Escape in the menu ends with 0 and writes the
# settings (the music volume raised with Page Up); a second run keeps the
# saved game and extra bytes of tt.pta, and --frame-stats reports its frames.
. "$(dirname "$0")/lib.sh"

rm -f data/tt.pta data/setting.pta
start_game
[ -f data/tt.pta ] || fail "no data/tt.pta after start-up"
[ "$(stat -c %s data/tt.pta)" = 1815 ] || fail "tt.pta is $(stat -c %s data/tt.pta) bytes"
[ -z "$(tr -d '0-9A-Za-z' < data/tt.pta)" ] || fail "tt.pta holds other than letters and digits"

press t
sleep 0.3
# Held long enough to go back to the menu and stay held there.
xdotool keydown Escape
sleep 0.6
xdotool keyup Escape
sleep 0.3
kill -0 $GAME_PID 2>/dev/null || fail "Escape held over from the top ten quit the game"
press i
sleep 0.3
press Escape
sleep 0.3
kill -0 $GAME_PID 2>/dev/null || fail "Escape on the instructions quit the game"
press Page_Up
press Escape
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "Escape in the menu: exit $EXIT_CODE"
[ "$(stat -c %s data/setting.pta)" = 16 ] || fail "setting.pta was not written with 16 bytes"
music=$(od -An -t d4 -j 4 -N 4 data/setting.pta | tr -d ' ')
[ "$music" = 1252 ] || fail "the music volume 252 + 1000 was not kept at exit, read $music"

# Extra bytes and the saved game survive a run; the ten entries are rewritten.
# --frame-stats reports the menu's frames at the end.
printf 'EXTRA' >> data/tt.pta
cp data/tt.pta before.pta
start_game --frame-stats
press Escape
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "second run: exit $EXIT_CODE"
grep -Eq '^menu +[1-9][0-9]* ' game.log || fail "--frame-stats reported no menu frames: $(cat game.log)"
[ "$(stat -c %s data/tt.pta)" = 1820 ] || fail "tt.pta lost its extra bytes"
cmp -s <(tail -c +1651 before.pta) <(tail -c +1651 data/tt.pta) ||
  fail "the saved game or the extra bytes changed"
cmp -s <(head -c 1650 before.pta) <(head -c 1650 data/tt.pta) &&
  fail "the top ten was not written at the end"
echo "PASS menus e2e"
