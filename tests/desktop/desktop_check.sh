#!/bin/bash
# SPDX-License-Identifier: MIT
# The game on a real desktop, started here headless and ended by its pid:
#   openbox, twm                       Xvfb with that window manager
#   mutter-wayland, mutter-xwayland    GNOME's compositor, the game native or through Xwayland
#   kwin-wayland, kwin-xwayland        KDE's compositor likewise
# Checked on each: full screen (the desktop's full-screen state where it has
# one, and the time from the switch to its first frame), --window, three
# window sizes (a whole multiple, wider and taller than 16:9), Alt+Enter
# twice, the focus taken by another window (the game stops drawing) and given
# back, and a second copy (it ends, the first is asked forward). Each time the
# test looks at what the window shows: the whole picture scaled to fit, black
# bars round it, the menu's lines down to Exit and the status line. On X11 the
# X server's own screenshot is read; a compositor lends none, so there the
# game saves what it presents (PELTA_SHOWN_FRAMES), which also stands in for
# keys and window resizes no tool can send to a Wayland window.
# Exits 77 (a skip, with the reason) when the desktop cannot start here.
DESKTOP=$1
BUILD=$2
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/pelta-desktop-XXXXXX)
SHOWN=$WORK/shown
mkdir -p "$SHOWN" "$WORK/rt" "$WORK/user"
chmod 700 "$WORK/rt"
STARTED=""
GROUP=""
# The compositor runs in a process group of its own (with its D-Bus, Xwayland
# and helpers), ended as a whole by its id.
trap 'for p in $STARTED; do kill "$p" 2>/dev/null; done
  [ -n "$GROUP" ] && kill -- "-$GROUP" 2>/dev/null; sleep 0.3; rm -rf "$WORK"' EXIT

fail() { echo "FAIL ($DESKTOP): $*" >&2; exit 1; }
skip() { echo "SKIP ($DESKTOP): $*"; exit 77; }
note() { echo "$DESKTOP: $*"; }

# wait_for, start_x, start_compositor and order
. "$HERE/desktops.sh"

# --- the game --------------------------------------------------------------

# Starts a copy with its own log $1; the rest are its arguments. GAME is its pid.
start_game() {
  local log=$1
  shift
  rm -f "$SHOWN"/*
  MARK=0
  XDG_RUNTIME_DIR=$WORK/rt PELTA_USER_DIR=$WORK/user PELTA_SHOWN_FRAMES=$SHOWN \
    "$BUILD/pelta" "$@" >"$WORK/$log" 2>&1 &
  GAME=$!
  STARTED="$STARTED $GAME"
  wait_for 20 test -s "$SHOWN/frames.log" || fail "the game showed nothing: $(cat "$WORK/$log")"
}

end_game() {
  kill "$GAME" 2>/dev/null
  wait_for 5 sh -c "! kill -0 $GAME" || fail "the game did not end on SIGTERM"
}

# The last frame the game saved, and its line: N MS WxH X,Y,WxH.
last_line() { tail -1 "$SHOWN/frames.log"; }

# Lines of frames.log so far: frame_at looks only past them.
mark() { MARK=$(wc -l <"$SHOWN/frames.log"); }
MARK=0

# Waits for a frame presented at $1 (WxH) since the mark and prints its line.
frame_at() {
  wait_for 10 sh -c "tail -n +$((MARK + 1)) $SHOWN/frames.log | grep -q ' $1 '" || return 1
  tail -n +$((MARK + 1)) "$SHOWN/frames.log" | grep " $1 " | head -1
}

# Checks the picture shown at $1 (WxH): through the X server's screenshot of
# the window on X11 (window id $WIN), else the frame the game saved.
check_shown() {
  local size=$1 what=$2 line
  line=$(frame_at "$size") || fail "$what: no frame at $size ($(last_line))"
  local w=${size%x*} h=${size#*x}
  if [ -n "$XSHOT" ]; then
    sleep 0.3 # the frame after the one logged, so the server holds it whole
    import -silent -window "$WIN" "ppm:$WORK/full.ppm" &&
      convert "$WORK/full.ppm" -scale 25% -depth 8 "ppm:$WORK/shot.ppm" || fail "$what: no screenshot"
  else
    local n=${line%% *}
    wait_for 5 test -s "$SHOWN/shown-$n.bmp"
    convert "$SHOWN/shown-$n.bmp" -scale 25% -depth 8 "ppm:$WORK/shot.ppm" || fail "$what: no saved frame"
  fi
  local picture=${line##* }
  python3 "$HERE/shown_picture.py" "$WORK/shot.ppm" 0.25 "$w" "$h" ${picture%x*} ${picture#*x} ||
    { cp "$WORK/shot.ppm" "/tmp/pelta-desktop-$DESKTOP-failed.ppm"; fail "$what: wrong picture"; }
  note "$what: $size shown whole (frame ${line#* })"
}

# Alt+Enter and window sizes: by the X server's tools on X11 with a window
# manager, else through the game's test file.
toggle() {
  if [ -n "$XSHOT" ]; then
    # The pointer in the screen's middle, which the window covers before and
    # after (twm gives the focus to the window under the pointer).
    local screen
    screen=$(xdpyinfo | awk '/dimensions:/ {print $2; exit}')
    xdotool mousemove $((${screen%x*} / 2)) $((${screen#*x} / 2)) key --window "$WIN" alt+Return
  else
    order toggle
  fi
}
resize() {
  if [ -n "$XSHOT" ]; then
    # In the screen's corner, so that all of it stays on the screen to be
    # read; the pointer over it, where twm gives the focus.
    xdotool windowmove "$WIN" 0 0 windowsize "$WIN" "$1" "$2" mousemove --window "$WIN" 20 20
  else
    order "size $1 $2"
  fi
}

# The full screen on X11: the window's size once a frame was shown at it and
# it stays; it must lie on the screen. With a full-screen state (openbox) it
# is the screen's size; twm has none and puts a title bar over the window,
# which then keeps to the rest of the screen.
x_full_size() {
  local geometry="" last="" n screen
  screen=$(xdpyinfo | awk '/dimensions:/ {print $2; exit}')
  # On the screen (twm's window shrinks there after a first frame), shown, and settled.
  on_screen() { [ $(($1 + ${3%x*})) -le "${screen%x*}" ] && [ $(($2 + ${3#*x})) -le "${screen#*x}" ]; }
  for n in $(seq 1 50); do
    geometry=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
      /Width:/ {w = $2} /Height:/ {h = $2} END {print x, y, w "x" h}')
    [ "$geometry" = "$last" ] && on_screen $geometry &&
      tail -n +$((MARK + 1)) "$SHOWN/frames.log" | grep -q " ${geometry##* } " && break
    last=$geometry
    sleep 0.2
  done
  set -- $geometry
  on_screen "$@" || fail "the full-screen window $3 at $1,$2 leaves the $screen screen"
  if [ "$DESKTOP" = openbox ]; then
    [ "$3" = "$screen" ] || fail "the full-screen window is $3 on a $screen screen"
    xprop -id "$WIN" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN ||
      fail "the window is not in the full-screen state"
  fi
  echo "$3"
}

# The milliseconds from the switch to the first frame at $1 since the mark.
first_frame_ms() { frame_at "$1" | awk '{print $2}'; }

# Drawing stops while another window has the focus and goes on when it comes
# back: a frame asked for in between is only saved after.
check_focus() {
  local other_pid
  if [ "$SDL_VIDEODRIVER" != wayland ]; then
    WIN=$(xdotool search --onlyvisible --name '^Pelta 2.0$' | head -1)
    xmessage -name peltafocus -geometry 300x100+10+10 "another window" &
    other_pid=$!
    STARTED="$STARTED $other_pid"
    local other
    other=$(xdotool search --sync --name '^peltafocus$' | head -1)
    if [ "$DESKTOP" = twm ]; then xdotool windowfocus --sync "$other"; else xdotool windowactivate --sync "$other"; fi
  else
    # A second game of another session (its own runtime folder) opens a window
    # that the compositor gives the focus.
    mkdir -p "$WORK/rt2" "$WORK/user2"
    chmod 700 "$WORK/rt2"
    XDG_RUNTIME_DIR=$WORK/rt2 PELTA_USER_DIR=$WORK/user2 "$BUILD/pelta" --window \
      >"$WORK/other.log" 2>&1 &
    other_pid=$!
    STARTED="$STARTED $other_pid"
  fi
  # The other window may take a while to come: drawing must stop within 15 s
  # (a frame asked for stays unsaved for a whole second).
  local n
  for n in $(seq 1 15); do
    touch "$SHOWN/dump"
    sleep 1
    [ -e "$SHOWN/dump" ] && break
  done
  [ -e "$SHOWN/dump" ] || fail "the game went on drawing while another window had the focus"
  kill "$other_pid"
  if [ "$DESKTOP" = twm ]; then
    xdotool windowfocus "$WIN"
  elif [ "$SDL_VIDEODRIVER" != wayland ]; then
    xdotool windowactivate "$WIN"
  fi
  wait_for 10 sh -c "! test -e $SHOWN/dump" || fail "the game did not draw again with the focus back"
  note "focus: drawing stopped while another window had it and went on after"
}

check_second_copy() {
  XDG_RUNTIME_DIR=$WORK/rt PELTA_USER_DIR=$WORK/user "$BUILD/pelta" >"$WORK/second.log" 2>&1 &
  local second=$!
  wait_for 10 sh -c "! kill -0 $second" || { kill $second; fail "a second copy kept running"; }
  wait $second || fail "the second copy ended with $?: $(cat "$WORK/second.log")"
  kill -0 "$GAME" || fail "the first copy ended when the second started"
  wait_for 5 grep -q "second start asked" "$WORK/game.log" || fail "the first copy was not asked forward"
  note "second copy: $(head -1 "$WORK/second.log"); first: $(grep 'second start' "$WORK/game.log" | head -1)"
}

# --- the checks ------------------------------------------------------------

XSHOT=""
case $DESKTOP in
openbox | twm)
  for tool in Xvfb xdotool xrandr import xmessage "$DESKTOP"; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  XSHOT=yes
  # Monitors bigger than the picture, a 1920x1080 mode listed beside theirs:
  # full screen shows the whole picture, scaled, at once.
  for size in 2560x1440 3840x2160; do
    start_x "${size%x*}" "${size#*x}" mode
    start_game game.log
    WIN=$(xdotool search --onlyvisible --name '^Pelta 2.0$' | head -1)
    full=$(x_full_size) || exit 1
    check_shown "$full" "full screen on $size with a 1920x1080 mode"
    note "time to the first full-screen frame: $(first_frame_ms "$full") ms"
    end_game
    for p in $STARTED; do kill "$p" 2>/dev/null; done
    STARTED=""
  done
  start_x 2560 1600 mode
  FULL=2560x1600
  ;;
*-wayland | *-xwayland)
  for tool in dbus-run-session convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  start_compositor
  FULL=2560x1600
  ;;
*) fail "no such desktop: $DESKTOP" ;;
esac

export WAYLAND_DEBUG
[ "$SDL_VIDEODRIVER" = wayland ] && WAYLAND_DEBUG=client
start_game game.log
WAYLAND_DEBUG=""
WIN=""
if [ -n "$XSHOT" ]; then
  WIN=$(xdotool search --onlyvisible --name '^Pelta 2.0$' | head -1)
  FULL=$(x_full_size) || exit 1
fi
check_shown $FULL "full screen"
note "time to the first full-screen frame: $(first_frame_ms $FULL) ms"
case $DESKTOP in
*-wayland)
  grep -q 'set_app_id("io.github.pelta.Pelta")' "$WORK/game.log" || fail "the app id was not set"
  grep -q 'set_fullscreen' "$WORK/game.log" || fail "no xdg-shell full-screen state was asked for"
  note "app id io.github.pelta.Pelta and the xdg-shell full-screen state asked for" ;;
esac
end_game

start_game game.log --window
[ -n "$XSHOT" ] && WIN=$(xdotool search --onlyvisible --name '^Pelta 2.0$' | head -1)
opened=$(head -1 "$SHOWN/frames.log" | awk '{print $3}')
[ "${opened%x*}" -lt "${FULL%x*}" ] && [ "${opened#*x}" -lt "${FULL#*x}" ] ||
  fail "--window opened at $opened on a $FULL screen"
check_shown "$opened" "--window"
# Wider and taller than the picture, then its own size (a whole multiple).
picture=$(head -1 "$SHOWN/frames.log" | awk '{print $5}')
for size in 2400x900 1000x1200 "$picture"; do
  mark
  resize "${size%x*}" "${size#*x}"
  check_shown "$size" "the window resized"
done
mark
toggle
[ -n "$XSHOT" ] && { FULL=$(x_full_size) || exit 1; }
check_shown $FULL "Alt+Enter to the full screen"
note "time to the first full-screen frame after Alt+Enter: $(first_frame_ms $FULL) ms"
mark
toggle
check_shown "$picture" "Alt+Enter back to the window"
check_focus
check_second_copy
end_game
if [ "$DESKTOP" = kwin-wayland ] || [ "$DESKTOP" = mutter-wayland ]; then
  # HiDPI: on an output at scale 2 the game draws at the output's pixels
  # (2560x1600 for 1280x800), not a half-size picture the desktop enlarges.
  kill -- "-$GROUP"
  wait_for 10 sh -c "! kill -0 $GROUP" || fail "the compositor did not end"
  start_compositor 2
  start_game game.log
  check_shown $FULL "full screen on an output at scale 2"
  end_game
fi
echo "PASS desktop $DESKTOP"
