#!/bin/bash
# The game starts in a real window, a second start (on this display or
# another X server) says so in one line and exits 0 while the first keeps
# running, Ctrl+P writes a screenshot of the
# screen's size into the user folder, Pause ends the game with 0 within two
# seconds, and SIGTERM ends it through the normal shutdown as well.
. "$(dirname "$0")/lib.sh"

start_game
said=$("$BUILD/pelta" 2>&1)
code=$?
[ "$code" = 0 ] || fail "second start exited $code"
[ "$said" = "pelta: already running; its window was raised" ] || fail "second start said: $said"
kill -0 $GAME_PID 2>/dev/null || fail "the first instance ended when the second started"
# One copy per user, not per display: a start on another X server (and one
# naming the same display differently) is kept out as well.
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
OTHER_X=$!
STARTED_PIDS="$STARTED_PIDS $OTHER_X"
for _ in $(seq 1 50); do [ -s "$WORK/display" ] && break; sleep 0.1; done
other=":$(head -n 1 "$WORK/display")"
[ "$other" != ":" ] || fail "no second X server"
for display in "$other" "$other.0" "$DISPLAY.0"; do
  said=$(DISPLAY=$display timeout 10 "$BUILD/pelta" 2>&1)
  code=$?
  [ "$code" = 0 ] || fail "a start on $display exited $code: $said"
  [ "$said" = "pelta: already running; its window was raised" ] || fail "a start on $display said: $said"
done
kill "$OTHER_X"
kill -0 $GAME_PID 2>/dev/null || fail "the first instance ended when the others started"

press ctrl p
wait_until 10 test -f "$SHOTS/scr_001.bmp" || fail "Ctrl+P wrote no screenshots/scr_001.bmp in the user folder"
size=$(bmp_size "$SHOTS/scr_001.bmp")
expected=$(screen_size)
if [ -n "$expected" ]; then
  [ "$size" = "$expected" ] || fail "screenshot is $size, screen is $expected"
fi
press ctrl p
wait_until 10 test -f "$SHOTS/scr_002.bmp" || fail "the second Ctrl+P wrote no scr_002.bmp"

# Another window takes the focus: no frame runs, so no key is read; with
# the focus back the game goes on.
if command -v xmessage >/dev/null 2>&1; then
  xmessage -geometry 200x80+10+10 other >/dev/null 2>&1 &
  other_pid=$!
  other=$(xdotool search --sync --name "^xmessage$" | head -1)
  xdotool windowfocus --sync "$other"
  sleep 0.3
  press ctrl p
  sleep 0.3
  [ -f "$SHOTS/scr_003.bmp" ] && fail "a frame ran while another window had the focus"
  xdotool windowfocus --sync "$(xdotool search --name "^Pelta 2.0$" | head -1)"
  sleep 0.3
  press ctrl p
  wait_until 10 test -f "$SHOTS/scr_003.bmp" || fail "no frames after the focus came back"
  kill $other_pid 2>/dev/null
fi

press Pause
wait_exit $GAME_PID 2
[ "$EXIT_CODE" = 0 ] || fail "Pause: exit $EXIT_CODE"

start_game
kill -TERM $GAME_PID
wait_exit $GAME_PID 2
[ "$EXIT_CODE" = 0 ] || fail "SIGTERM: exit $EXIT_CODE"
check_working_folder_untouched
echo "PASS foundation e2e"
