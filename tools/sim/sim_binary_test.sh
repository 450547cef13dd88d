#!/bin/sh
# The built pelta-sim itself: two state lines for two frames, and a refused
# argument gives exit code 2, one line on stderr and nothing on stdout; an
# endless key script is refused the same way; a run ended by SIGTERM or
# SIGINT removes its private folder and still ends by that signal.
sim="$1"
scratch=$(mktemp -d /tmp/pelta-sim-test-XXXXXX)
pid=""
# Ends only the run this script started, by its process id.
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$scratch"' EXIT
fail() {
  echo "$*"
  exit 1
}
out=$("$sim" --seed 5 --frames 2) || fail "a plain run failed"
[ "$(printf '%s\n' "$out" | grep -c '^{"frame":')" = 2 ] || fail "expected two state lines"
for args in "--seed 5 --level 0" "--seed 5 --keys /dev/zero"; do
  # shellcheck disable=SC2086 # the arguments are split on purpose
  out=$("$sim" $args 2>"$scratch/err")
  code=$?
  [ "$code" = 2 ] || fail "$args: exit code $code, expected 2"
  [ -z "$out" ] || fail "$args: stdout not empty"
  [ "$(wc -l <"$scratch/err")" = 1 ] || fail "$args: expected one line on stderr"
done
for pair in TERM:143 INT:130; do
  signal=${pair%:*}
  mkdir "$scratch/$signal"
  # A shell starts background jobs with SIGINT ignored; env gives it back.
  TMPDIR="$scratch/$signal" env --default-signal=INT "$sim" --seed 1 --frames 4000000000 \
    --every 1000000 >/dev/null &
  pid=$!
  for _ in $(seq 1 100); do
    [ -n "$(ls "$scratch/$signal")" ] && break
    sleep 0.05
  done
  [ -n "$(ls "$scratch/$signal")" ] || fail "$signal: no private folder appeared"
  kill -"$signal" "$pid"
  wait "$pid"
  code=$?
  pid=""
  [ "$code" = "${pair#*:}" ] || fail "$signal: exit code $code"
  [ -z "$(ls "$scratch/$signal")" ] || fail "$signal: the private folder was left behind"
done
echo "ok"
