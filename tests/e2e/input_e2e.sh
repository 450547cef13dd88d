#!/bin/bash
# Keys and the window in a real window: --window opens a window smaller than
# the desktop (a display that is not there is told and display 0 used);
# Alt+Enter switches to the full screen and back without starting a game, also
# when Alt goes up before Enter; taps shorter than a frame (xdotool key) act;
# keypad Enter starts a game; on a Dvorak layout the key that types T opens
# the top ten and the key in T's place does not. Escape in the menu quits, so
# each part ends by checking which screen its Escapes found.
. "$(dirname "$0")/lib.sh"

window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# Escape quits from the menu: the game must end with 0 within 3 seconds.
escape_quits() {
  xdotool key Escape
  wait_exit $GAME_PID 3
  [ "$EXIT_CODE" = 0 ] || fail "$1 (Escape in the menu: exit $EXIT_CODE)"
}

# Escape must bring the game back to the menu from another screen, not quit.
escape_returns() {
  kill -0 $GAME_PID 2>/dev/null || fail "$1"
  xdotool key Escape
  wait_until 30 menu_at $COUNTDOWN_BOX
  kill -0 $GAME_PID 2>/dev/null || fail "$2"
}

# The window is this size.
window_is() { [ "$(window_size "$1")" = "$2" ]; }

screen=$(screen_size)
start_game --window --display 5
grep -qx "pelta: there is no display 5 (1 found); playing on display 0" "$WORK/game.log" ||
  fail "a missing display was not told: $(cat "$WORK/game.log")"
win=$(xdotool search --name "^Pelta 2.0$" | head -1)
xprop -id "$win" WM_CLASS | grep -q '"io.github.pelta.Pelta"' || fail "the window's class changed"
windowed=$(window_size "$win")
[ "${windowed%x*}" -lt "${screen%x*}" ] && [ "${windowed#*x}" -lt "${screen#*x}" ] ||
  fail "--window gave $windowed on a $screen screen"

xdotool key alt+Return
wait_until 10 window_is "$win" "$screen" || fail "Alt+Enter gave $(window_size "$win"), not $screen"
xdotool key alt+Return
wait_until 10 window_is "$win" "$windowed" || fail "Alt+Enter again gave $(window_size "$win")"
# Alt up before Enter: the Enter is still the switch's, not the menu's.
xdotool keydown alt keydown Return
sleep 0.2
xdotool keyup alt
sleep 0.2
xdotool keyup Return
wait_until 10 window_is "$win" "$screen" || fail "Alt+Enter held gave $(window_size "$win")"
escape_quits "Alt+Enter started a game"

# Taps as short as xdotool makes them.
start_game
xdotool key i
wait_until 30 white_at $COUNTDOWN_BOX
escape_returns "a quick I was lost" "Escape on the instructions quit"
escape_quits "a quick Escape on the instructions was lost"

start_game
xdotool key KP_Enter
wait_until 30 white_at $COUNTDOWN_BOX
escape_returns "keypad Enter started no game" "Escape in the game quit"
escape_quits "Escape in the game did not return to the menu"

# Dvorak: T is typed by the key in K's place; T's place types Y.
layout=$(setxkbmap -query | awk '/layout:/ {print $2}')
variant=$(setxkbmap -query | awk '/variant:/ {print $2}')
at_exit() { setxkbmap -layout "${layout:-us}" ${variant:+-variant "$variant"}; }
setxkbmap -layout us -variant dvorak || fail "setxkbmap cannot set a Dvorak layout"
start_game
xdotool key y
sleep 0.4
escape_quits "on Dvorak the key in T's place opened the top ten"
start_game
xdotool key t
wait_until 30 white_at $COUNTDOWN_BOX
escape_returns "on Dvorak the key that types T did not open the top ten" "Escape on the top ten quit"
escape_quits "Escape on the top ten did not return to the menu"
at_exit
check_working_folder_untouched
echo "PASS input e2e"
