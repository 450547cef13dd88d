#!/bin/bash
# Replays in a real window: a short game left with Escape, and one ended by
# SIGTERM, each leave a replay in the user folder's replays/ that pelta-sim verifies; watching
# one with pelta --replay plays it through, says it matched, ends with 0 and
# records no new replay.
. "$(dirname "$0")/lib.sh"
REPLAYS="$PELTA_USER_DIR/replays"

verify() {
  "$BUILD/pelta-sim" --replay "$1" --every 1000000 >/dev/null 2>"$WORK/sim.err"
  local code=$?
  [ "$code" = 0 ] || fail "pelta-sim --replay $1: exit $code: $(cat "$WORK/sim.err")"
  grep -q "^pelta-sim: replay verified: " "$WORK/sim.err" || fail "pelta-sim said: $(cat "$WORK/sim.err")"
}

start_game
press Return
wait_until 60 dark_at $COUNTDOWN_BOX || fail "the countdown did not end within 60 s"
xdotool keydown Down
sleep 0.6
xdotool keyup Down
press Right
sleep 1
press Escape
wait_until 30 menu_at $COUNTDOWN_BOX || fail "Escape did not leave the game for the menu"
press Escape
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "Escape in the menu: exit $EXIT_CODE"
[ "$(ls "$REPLAYS" | wc -l)" = 1 ] || fail "expected one replay, found: $(ls "$REPLAYS")"
first=$REPLAYS/$(ls "$REPLAYS")
grep -q '^end [0-9]* 1 ' "$first" || fail "the first game did not end in the menu: $(tail -n 1 "$first")"
verify "$first"

start_game
press Return
wait_until 60 white_at $COUNTDOWN_BOX || fail "the game screen did not show its countdown"
kill -TERM $GAME_PID
wait_exit $GAME_PID 3
[ "$EXIT_CODE" = 0 ] || fail "SIGTERM: exit $EXIT_CODE"
[ "$(ls "$REPLAYS" | wc -l)" = 2 ] || fail "SIGTERM in a game kept no replay: $(ls "$REPLAYS")"
second=$REPLAYS/$(ls "$REPLAYS" | sort | tail -n 1)
grep -q '^end [0-9]* 2 ' "$second" || fail "the second game did not end in the game"
verify "$second"

cp "$USER_DATA/tt.pta" "$WORK/before.pta"
start_game --replay "$first"
wait_exit $GAME_PID 30
[ "$EXIT_CODE" = 0 ] || fail "pelta --replay: exit $EXIT_CODE: $(cat "$WORK/game.log")"
grep -q "^pelta: replay verified: " "$WORK/game.log" || fail "pelta --replay said: $(cat "$WORK/game.log")"
[ "$(ls "$REPLAYS" | wc -l)" = 2 ] || fail "watching a replay recorded a new one"
cmp -s "$WORK/before.pta" "$USER_DATA/tt.pta" || fail "watching a replay changed data/tt.pta"
echo "PASS replay e2e"
