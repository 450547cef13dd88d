#!/bin/bash
# The menus in a real window: a first start makes the user folder, writes
# tt.pta (1815 letters and digits) and copies the default settings there; T
# and I open their screens and Escape comes back; Escape held from the top
# ten does not quit; Escape in the menu ends with 0 and writes the settings
# (the music volume raised with Page Up); a second run keeps the saved game
# and extra bytes of tt.pta, and --frame-stats reports its frames. Nothing is
# written beside the program's data.
. "$(dirname "$0")/lib.sh"

data_before=$(ls -l --time-style=full-iso "$BUILD/data")
start_game
[ -f "$USER_DATA/tt.pta" ] || fail "no data/tt.pta in the user folder after start-up"
[ "$(stat -c %s "$USER_DATA/tt.pta")" = 1815 ] || fail "tt.pta is $(stat -c %s "$USER_DATA/tt.pta") bytes"
[ -z "$(tr -d '0-9A-Za-z' < "$USER_DATA/tt.pta")" ] || fail "tt.pta holds other than letters and digits"
cmp -s "$USER_DATA/setting.pta" "$BUILD/data/setting.pta" || fail "the default settings were not copied"
music_volume() { od -An -t d4 -j 4 -N 4 "$USER_DATA/setting.pta" | tr -d ' '; }
first=$(music_volume)

wait_until 60 menu_at $COUNTDOWN_BOX || fail "the main menu did not show"
press t
wait_until 30 white_at $COUNTDOWN_BOX || fail "T did not open the top ten"
# Held until the menu is back, and on for a while there.
xdotool keydown Escape
wait_until 30 menu_at $COUNTDOWN_BOX || fail "Escape did not lead back to the menu"
sleep 0.3
xdotool keyup Escape
sleep 0.3
kill -0 $GAME_PID 2>/dev/null || fail "Escape held over from the top ten quit the game"
press i
wait_until 30 white_at $COUNTDOWN_BOX || fail "I did not open the instructions"
press Escape
wait_until 30 menu_at $COUNTDOWN_BOX || fail "Escape did not leave the instructions"
kill -0 $GAME_PID 2>/dev/null || fail "Escape on the instructions quit the game"
press Page_Up
press Escape
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "Escape in the menu: exit $EXIT_CODE"
[ "$(stat -c %s "$USER_DATA/setting.pta")" = 16 ] || fail "setting.pta was not written with 16 bytes"
[ "$(music_volume)" = $((first + 1000)) ] ||
  fail "the music volume $first + 1000 was not kept at exit, read $(music_volume)"

# Extra bytes and the saved game survive a run; the ten entries are rewritten.
printf 'EXTRA' >> "$USER_DATA/tt.pta"
cp "$USER_DATA/tt.pta" "$WORK/before.pta"
start_game --frame-stats
press Escape
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "second run: exit $EXIT_CODE"
grep -Eq '^menu +[1-9][0-9]* ' "$WORK/game.log" ||
  fail "--frame-stats reported no menu frames: $(cat "$WORK/game.log")"
[ "$(stat -c %s "$USER_DATA/tt.pta")" = 1820 ] || fail "tt.pta lost its extra bytes"
cmp -s <(tail -c +1651 "$WORK/before.pta") <(tail -c +1651 "$USER_DATA/tt.pta") ||
  fail "the saved game or the extra bytes changed"
cmp -s <(head -c 1650 "$WORK/before.pta") <(head -c 1650 "$USER_DATA/tt.pta") &&
  fail "the top ten was not written at the end"
[ "$(ls -l --time-style=full-iso "$BUILD/data")" = "$data_before" ] ||
  fail "the game changed its data folder"
check_working_folder_untouched
echo "PASS menus e2e"
