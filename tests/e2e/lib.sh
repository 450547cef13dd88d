# Shared helpers for the real-window tests: run the built game (which finds
# its data beside itself) from an unrelated scratch folder, with its player
# files in a scratch user folder, and drive it with xdotool.
BUILD="$1"
WORK=$(mktemp -d /tmp/pelta-e2e-XXXXXX)
export PELTA_USER_DIR="$WORK/user"
USER_DATA="$PELTA_USER_DIR/data"
SHOTS="$PELTA_USER_DIR/screenshots"
mkdir "$WORK/here"
cd "$WORK/here" || exit 1
STARTED_PIDS=""
# What a script has to undo at its end besides (it may define its own).
at_exit() { :; }
# Ends only the copies of the game this script started, by their process ids.
trap 'for p in $STARTED_PIDS; do kill "$p" 2>/dev/null; done; at_exit; rm -rf "$WORK"' EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# Starts the game ($GAME, the built one unless set) in the background;
# GAME_PID is its process id.
start_game() {
  "${GAME:-$BUILD/pelta}" "$@" >"$WORK/game.log" 2>&1 &
  GAME_PID=$!
  STARTED_PIDS="$STARTED_PIDS $GAME_PID"
  xdotool search --sync --onlyvisible --name "^Pelta 2.0$" >/dev/null 2>&1 &
  local waiter=$!
  for _ in $(seq 1 100); do
    kill -0 $waiter 2>/dev/null || break
    sleep 0.1
  done
  kill $waiter 2>/dev/null
  kill -0 $GAME_PID 2>/dev/null || fail "the game did not start: $(cat "$WORK/game.log")"
  sleep 0.5
}

# Holds keys down long enough for a frame to see them (xdotool's own tap is
# shorter than a frame).
press() {
  xdotool keydown "$@"
  sleep 0.15
  local keys=""
  for k in "$@"; do keys="$k $keys"; done
  xdotool keyup $keys
  sleep 0.1
}

# Waits up to $2 seconds for process $1 to end; sets EXIT_CODE.
wait_exit() {
  local pid=$1 limit=$2
  EXIT_CODE=timeout
  for _ in $(seq 1 $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      EXIT_CODE=$?
      return
    fi
    sleep 0.1
  done
}

# Runs the command until it succeeds, for at most $1 seconds; false when the
# time ran out. For what a test must see before it goes on, however slowly
# the machine draws the game's frames.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.1
  done
}

# True when the screen's rectangle WxH+X+Y holds no pixel brighter than
# dark grey.
dark_at() {
  local brightest
  brightest=$(import -window root -crop "$1" -colorspace Gray -format '%[fx:maxima]' info: 2>/dev/null)
  [ -n "$brightest" ] && awk -v b="$brightest" 'BEGIN { exit !(b < 0.3) }'
}

# True when the rectangle holds white (the countdown's digit; the menu's lines
# are green, no brighter than half).
white_at() {
  local brightest
  brightest=$(import -window root -crop "$1" -colorspace Gray -format '%[fx:maxima]' info: 2>/dev/null)
  [ -n "$brightest" ] && awk -v b="$brightest" 'BEGIN { exit !(b > 0.9) }'
}

# True when the rectangle shows the main menu's green lines and nothing white.
menu_at() {
  local brightest
  brightest=$(import -window root -crop "$1" -colorspace Gray -format '%[fx:maxima]' info: 2>/dev/null)
  [ -n "$brightest" ] && awk -v b="$brightest" 'BEGIN { exit !(b > 0.3 && b < 0.9) }'
}

# The middle of a 1280x1024 screen: the countdown's digit stands there until
# play starts; the main menu's green lines, and the white ones of the top ten
# and the instructions, pass through it.
COUNTDOWN_BOX=80x120+600+420

# Width and height of a BMP file, from its header.
bmp_size() {
  od -An -t d4 -j 18 -N 8 "$1" | awk '{print $1 "x" $2}'
}

# The game writes nothing into the folder it was started from.
check_working_folder_untouched() {
  [ -z "$(ls -A "$WORK/here")" ] || fail "the game wrote into its working folder: $(ls -A "$WORK/here")"
}

screen_size() {
  xdpyinfo 2>/dev/null | awk '/dimensions:/ {print $2; exit}'
}
