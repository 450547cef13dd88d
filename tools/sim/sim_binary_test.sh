#!/bin/sh
# The built pelta-sim itself: two state lines for two frames, and a refused
# argument gives exit code 2, one line on stderr and nothing on stdout.
sim="$1"
out=$("$sim" --seed 5 --frames 2) || { echo "a plain run failed"; exit 1; }
[ "$(printf '%s\n' "$out" | grep -c '^{"frame":')" = 2 ] || { echo "expected two state lines"; exit 1; }
out=$("$sim" --seed 5 --level 0 2>/tmp/pelta-sim-err.$$)
code=$?
err=$(cat /tmp/pelta-sim-err.$$)
rm -f /tmp/pelta-sim-err.$$
[ "$code" = 2 ] || { echo "exit code $code, expected 2"; exit 1; }
[ -z "$out" ] || { echo "stdout not empty"; exit 1; }
[ "$(printf '%s\n' "$err" | wc -l)" = 1 ] || { echo "expected one line on stderr"; exit 1; }
echo "ok"
