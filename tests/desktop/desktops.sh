# SPDX-License-Identifier: MIT
# The desktops the game is tried on, started headless; sourced by
# desktop_check.sh and bench/switch_time.sh. The caller sets DESKTOP (openbox,
# twm, mutter-wayland, mutter-xwayland, kwin-wayland, kwin-xwayland) and WORK
# (a folder of its own), defines fail and skip, and ends what is listed in
# STARTED and the process group GROUP.

# An order to the game's test file in $SHOWN (PELTA_SHOWN_FRAMES), written
# whole: the game may look at any moment.
order() {
  echo "$1" >"$SHOWN/do.tmp"
  mv "$SHOWN/do.tmp" "$SHOWN/do"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1
  shift
  for _ in $(seq 1 $((limit * 10))); do
    "$@" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# An X server of $1 x $2 (with a 1920x1080 mode beside it when $3 is "mode")
# and the window manager of this run; DISPLAY names it.
start_x() {
  rm -f "$WORK/dpy"
  Xvfb -displayfd 3 -screen 0 "$1x$2x24" -noreset -nolisten tcp 3>"$WORK/dpy" 2>/dev/null &
  STARTED="$STARTED $!"
  wait_for 10 test -s "$WORK/dpy" || skip "Xvfb did not start"
  export DISPLAY=:$(cat "$WORK/dpy")
  if [ "$3" = mode ]; then
    xrandr --newmode 1920x1080 148.50 1920 2008 2052 2200 1080 1084 1089 1125 &&
      xrandr --addmode screen 1920x1080 || fail "xrandr could not add a 1920x1080 mode"
  fi
  case $DESKTOP in
  openbox)
    openbox --sm-disable >/dev/null 2>&1 &
    STARTED="$STARTED $!"
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q window' ||
      skip "openbox did not start"
    ;;
  twm)
    twm >/dev/null 2>&1 &
    STARTED="$STARTED $!"
    # twm makes its icon manager first; it redirects the root window's maps from then on.
    wait_for 10 sh -c 'xwininfo -root -tree | grep -q "TWM Icon Manager"' || skip "twm did not start"
    ;;
  esac
}

# A compositor (mutter or kwin_wayland) on a virtual output of 2560x1600
# pixels with Xwayland, at the scale $1 (1 when not given); the game reaches
# it by the socket's full path, with a runtime folder of its own, or through
# DISPLAY.
start_compositor() {
  local crt=$WORK/compositor-rt scale=${1:-1}
  rm -rf "$crt" "$WORK/compositor.env"
  mkdir -p "$crt"
  chmod 700 "$crt"
  # Xwayland puts its socket there, and refuses a folder others cannot write.
  [ -w /tmp/.X11-unix ] && [ "$(stat -c %a /tmp/.X11-unix)" != 1777 ] && chmod 1777 /tmp/.X11-unix
  case $DESKTOP in
  mutter-*)
    command -v mutter >/dev/null || skip "mutter is not installed"
    XDG_RUNTIME_DIR=$crt setsid dbus-run-session -- mutter --headless --virtual-monitor 2560x1600 \
      --wayland --wayland-display pelta-wl -- sh -c "env > $WORK/compositor.env; exec sleep 600" \
      >"$WORK/compositor.log" 2>&1 &
    ;;
  kwin-*)
    command -v kwin_wayland >/dev/null || skip "kwin_wayland is not installed"
    # The installed binary carries a file capability, which a container may
    # refuse to exec; a copy without it runs the same.
    cp "$(command -v kwin_wayland)" "$WORK/kwin_wayland"
    # No screen locker: it would take the focus from every window. A new
    # window gets the focus (the test's other window, like a dialog).
    mkdir -p "$WORK/config"
    printf '[Daemon]\nAutolock=false\nLockOnResume=false\n' >"$WORK/config/kscreenlockerrc"
    printf '[Windows]\nFocusStealingPreventionLevel=0\n' >"$WORK/config/kwinrc"
    XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$crt setsid dbus-run-session -- "$WORK/kwin_wayland" --virtual \
      --width $((2560 / scale)) --height $((1600 / scale)) --scale "$scale" --xwayland --socket pelta-wl \
      "sh -c 'env > $WORK/compositor.env; exec sleep 600'" >"$WORK/compositor.log" 2>&1 &
    ;;
  esac
  GROUP=$!
  wait_for 40 sh -c "test -S $crt/pelta-wl && grep -q '^DISPLAY=' $WORK/compositor.env" ||
    skip "the compositor did not start: $(tail -3 "$WORK/compositor.log" | tr '\n' ' ')"
  # mutter takes an output's scale over its own D-Bus, as GNOME's settings do.
  if [ "$scale" != 1 ] && [ "${DESKTOP%%-*}" = mutter ]; then
    command -v gdbus >/dev/null || skip "gdbus is not installed"
    local bus serial
    bus=$(grep '^DBUS_SESSION_BUS_ADDRESS=' "$WORK/compositor.env")
    display_config() {
      env "$bus" gdbus call --session --dest org.gnome.Mutter.DisplayConfig \
        --object-path /org/gnome/Mutter/DisplayConfig --method "org.gnome.Mutter.DisplayConfig.$1" "${@:2}"
    }
    # A change names the state it changes, by its serial.
    serial=$(display_config GetCurrentState | sed -n 's/^(uint32 \([0-9]*\),.*/\1/p')
    display_config ApplyMonitorsConfig "$serial" 1 \
      "[(0, 0, $scale.0, 0, true, [('Meta-0', '2560x1600@60.000', @a{sv} {})])]" "@a{sv} {}" \
      >/dev/null || fail "mutter did not take the scale $scale"
  fi
  unset DISPLAY WAYLAND_DISPLAY
  if [ "${DESKTOP#*-}" = wayland ]; then
    export SDL_VIDEODRIVER=wayland WAYLAND_DISPLAY=$crt/pelta-wl
  else
    export SDL_VIDEODRIVER=x11
    export "$(grep '^DISPLAY=' "$WORK/compositor.env")"
    grep -q '^XAUTHORITY=' "$WORK/compositor.env" && export "$(grep '^XAUTHORITY=' "$WORK/compositor.env")"
  fi
}
