#!/bin/bash
# SPDX-License-Identifier: MIT
# Time from a switch to full screen to the first frame drawn at the full
# screen's size, on a desktop started headless: the start in full screen,
# then Alt+Enter to a window and back, twice, in each of RUNS runs. The times
# are the game's own (PELTA_SHOWN_FRAMES frames.log: ms since the switch,
# taken before the frame is presented); at the end the medians and the load.
#     bench/switch_time.sh [BUILD] [WxH[+mode]] [RUNS] [DESKTOP]
# e.g. bench/switch_time.sh build 2560x1440+mode 5 (a 1920x1080 mode listed
# beside the screen's own, as most big monitors do). DESKTOP is openbox (on
# Xvfb of that size, the default) or one of tests/desktop/desktops.sh's
# compositors, whose screen is always 2560x1600.
BUILD=$(cd "${1:-build}" && pwd)
SCREEN=${2:-1920x1080}
RUNS=${3:-3}
DESKTOP=${4:-openbox}
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d /tmp/pelta-switch-XXXXXX)
STARTED=""
GROUP=""
trap 'for p in $STARTED; do kill "$p" 2>/dev/null; done
  [ -n "$GROUP" ] && kill -- "-$GROUP" 2>/dev/null; sleep 0.3; rm -rf "$WORK"' EXIT
fail() { echo "switch_time: $*" >&2; exit 1; }
skip() { fail "$*"; }
. "$HERE/../tests/desktop/desktops.sh"

case $DESKTOP in
openbox)
  SIZE=${SCREEN%+*}
  [ "$SCREEN" != "$SIZE" ] && MODE=mode
  start_x "${SIZE%x*}" "${SIZE#*x}" "$MODE"
  ;;
mutter-wayland | mutter-xwayland | kwin-wayland | kwin-xwayland)
  start_compositor
  SIZE=2560x1600
  SCREEN=$SIZE
  ;;
*) fail "no full-screen state to time on $DESKTOP (openbox, mutter-wayland, mutter-xwayland, kwin-wayland, kwin-xwayland)" ;;
esac

# The ms of the first frame of size $1 logged after line $2 of frames.log.
frame_ms() {
  for _ in $(seq 600); do
    local ms
    ms=$(tail -n +$(($2 + 1)) "$SHOWN/frames.log" 2>/dev/null | awk -v s="$1" '$3 == s {print $2; exit}')
    [ -n "$ms" ] && { echo "$ms"; return; }
    sleep 0.05
  done
  echo timeout
}

STARTS=""
SWITCHES=""
for r in $(seq "$RUNS"); do
  SHOWN=$WORK/shown$r
  mkdir -p "$SHOWN" "$WORK/user$r" "$WORK/rt$r"
  chmod 700 "$WORK/rt$r"
  XDG_RUNTIME_DIR=$WORK/rt$r PELTA_SHOWN_FRAMES=$SHOWN SDL_AUDIODRIVER=dummy \
    unshare -n "$BUILD/pelta" --user-dir "$WORK/user$r" >"$WORK/log$r" 2>&1 &
  GAME=$!
  STARTED="$STARTED $GAME"
  start=$(frame_ms "$SIZE" 0)
  line="start $start"
  STARTS="$STARTS $start"
  for _ in 1 2; do
    sleep 1.5
    mark=$(wc -l <"$SHOWN/frames.log")
    order toggle
    for _ in $(seq 400); do
      [ "$(tail -n +$((mark + 1)) "$SHOWN/frames.log" | awk -v s="$SIZE" '$3 != s' | wc -l)" -gt 0 ] && break
      sleep 0.05
    done
    sleep 1.5
    mark=$(wc -l <"$SHOWN/frames.log")
    order toggle
    full=$(frame_ms "$SIZE" "$mark")
    line="$line, Alt+Enter back $full"
    SWITCHES="$SWITCHES $full"
  done
  echo "run $r: $line (ms; load $(cut -d' ' -f1 /proc/loadavg))"
  kill "$GAME"
  wait "$GAME" 2>/dev/null
done
median() { tr ' ' '\n' | grep -E '^[0-9]+$' | sort -n | awk '{v[NR]=$1} END {if (NR) print (NR % 2 ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2); else print "-"}'; }
echo "$DESKTOP, $SCREEN: start to the first full-screen frame, median $(echo $STARTS | median) ms;" \
  "Alt+Enter to it, median $(echo $SWITCHES | median) ms; load $(cut -d' ' -f1-3 /proc/loadavg)"
