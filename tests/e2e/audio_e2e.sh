#!/bin/bash
# Real mixer output through SDL's disk audio driver. First the sound layer on
# its own (a probe playing the menu tune and effects), then the game in a real
# window: its main menu must play its tune. Usage: audio_e2e.sh BUILD_DIR
set -u
build="$1"
work=$(mktemp -d /tmp/pelta-audio-e2e-XXXXXX)
trap 'rm -rf "$work"' EXIT
export PELTA_USER_DIR="$work/user"
cd "$work" || exit 1

# Prints "blocks loud": 0.1 s blocks of a 16-bit stereo 44100 Hz file, and
# how many of them are above a whisper.
levels() {
  od -An -v -td2 -w4 "$1" | awk '
    { s += ($1 < 0 ? -$1 : $1) + ($2 < 0 ? -$2 : $2); n++;
      if (n == 4410) { blocks++; if (s / (2 * n) > 60) loud++; s = 0; n = 0 } }
    END { print blocks + 0, loud + 0 }'
}

# 1. SDL's dummy driver is a device like any other: effects and tunes load
# and mix (and are thrown away); only a driver that cannot open leaves the
# game silent, and then stderr says so.
SDL_AUDIODRIVER=dummy "$build/tests/pelta_audio_probe" "$build/data" >"$work/dummy.out" 2>&1
status=$?
if [ $status -ne 0 ]; then
  echo "FAIL: with the dummy audio driver the probe exited $status: $(cat "$work/dummy.out")"
  exit 1
fi
SDL_AUDIODRIVER=no_such_driver "$build/tests/pelta_audio_probe" "$build/data" >/dev/null 2>"$work/none.err"
status=$?
if [ $status -ne 3 ] || ! grep -q "no sound device could be opened" "$work/none.err"; then
  echo "FAIL: a driver that cannot open gave exit $status and stderr '$(cat "$work/none.err")'"
  exit 1
fi

# 2. The sound layer on the disk driver: sound nearly all the way through.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/probe.raw" "$build/tests/pelta_audio_probe" "$build/data" 2>/dev/null
if [ $? -ne 0 ]; then
  echo "FAIL: the probe could not play through the disk audio driver"
  exit 1
fi
read -r blocks loud < <(levels "$work/probe.raw")
echo "probe: $blocks blocks, $loud with sound"
if [ "$blocks" -lt 30 ] || [ $((loud * 10)) -lt $((blocks * 8)) ]; then
  echo "FAIL: the menu tune and the effects were not heard through the mixer"
  exit 1
fi

# 3. The game: the main menu plays its tune.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/game.raw" "$build/pelta" 2>/dev/null &
pid=$!
# Three seconds of sound written (16-bit stereo at 44100 Hz), within 20 s: the
# disk driver writes as the game plays, from its first frames on.
for _ in $(seq 1 400); do
  [ "$(stat -c %s "$work/game.raw" 2>/dev/null || echo 0)" -ge $((3 * 44100 * 4)) ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
xdotool key Pause
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  kill -TERM "$pid"
fi
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: the game exited with $status"
  exit 1
fi
if [ ! -s "$work/game.raw" ]; then
  echo "FAIL: the game opened no sound device"
  exit 1
fi
read -r blocks loud < <(levels "$work/game.raw")
echo "game: $blocks blocks, $loud with sound"
if [ $((loud * 2)) -lt "$blocks" ]; then
  echo "FAIL: the main menu was silent"
  exit 1
fi
echo "PASS: the main menu plays its tune"
