#!/bin/bash
# SPDX-License-Identifier: MIT
# What a player keeps when things go wrong in a real window: a game killed
# (SIGKILL) or crashing (SIGSEGV) leaves a replay that pelta-sim checks up to
# its last check and calls cut short (exit 4), and pelta --replay plays it to
# that point, also while a copy plays; a FIFO as the font does not stop the
# start.
. "$(dirname "$0")/lib.sh"
REPLAYS="$PELTA_USER_DIR/replays"
ulimit -c 0 # the crash is on purpose: no core file

for signal in KILL SEGV; do
  rm -f "$REPLAYS"/*
  start_game
  press Return
  # Past the countdown and the game's first check, however slowly this
  # machine draws: the check line reaches the file as it is made.
  wait_until 120 sh -c 'grep -qs "^check " "$1"/*' _ "$REPLAYS" ||
    fail "SIG$signal: no check line in a replay after 120 s: $(ls "$REPLAYS")"
  kill -$signal $GAME_PID
  wait_exit $GAME_PID 5
  replay=$REPLAYS/$(ls "$REPLAYS" | sort | tail -n 1)
  [ -f "$replay" ] || fail "SIG$signal left no replay: $(ls "$REPLAYS")"
  "$BUILD/pelta-sim" --replay "$replay" --every 1000000 >/dev/null 2>"$WORK/sim.err"
  code=$?
  [ "$code" = 4 ] || fail "pelta-sim after SIG$signal: exit $code: $(cat "$WORK/sim.err")"
  grep -q "replay cut short at frame [0-9]* (no end line): verified [1-9][0-9]* checks" \
    "$WORK/sim.err" || fail "pelta-sim after SIG$signal said: $(cat "$WORK/sim.err")"
done

# Watching is never refused by a copy that plays, and ends where the file does.
start_game
timeout 60 "$BUILD/pelta" --replay "$replay" >"$WORK/watch.log" 2>&1
code=$?
[ "$code" = 4 ] || fail "pelta --replay of a cut-short replay: exit $code: $(cat "$WORK/watch.log")"
grep -q "^pelta: replay cut short at frame " "$WORK/watch.log" || fail "watching said: $(cat "$WORK/watch.log")"
kill -TERM $GAME_PID
wait_exit $GAME_PID 5

# A FIFO where the font should be: the game starts without it and says why.
data="$WORK/fifo-data"
cp -r "$BUILD/data" "$data"
rm -f "$data/xf1.pta"
mkfifo "$data/xf1.pta"
start_game --data-dir "$data"
grep -q "cannot load font $data/xf1.pta (it is not a regular file)" "$WORK/game.log" ||
  fail "a FIFO font: $(cat "$WORK/game.log")"
kill -TERM $GAME_PID
wait_exit $GAME_PID 5
[ "$EXIT_CODE" = 0 ] || fail "SIGTERM with a FIFO font: exit $EXIT_CODE"
echo "PASS reliability e2e"
