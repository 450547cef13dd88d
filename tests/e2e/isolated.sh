#!/bin/sh
# Runs one real-window test in a network namespace of its own when the system
# allows it: the game's single-instance guard is an abstract socket, so a copy
# of the game started by another test run (or a player) on the same machine
# can neither be found nor raised by the copies this test starts. Without
# unshare the test runs as it is, and that is safe too: the guard's name
# holds the X display, and xvfb-run -a gives every test a display of its own.
if unshare -n true 2>/dev/null; then
  exec unshare -n "$@"
fi
exec "$@"
