#!/bin/sh
# Runs one real-window test with a private runtime folder ($XDG_RUNTIME_DIR,
# where the game's single-instance guard lives), so a copy of the game
# started by another test run (or a player) on the same machine can neither
# be found nor raised by the copies this test starts; in a network namespace
# of its own too when the system allows it.
runtime=$(mktemp -d /tmp/pelta-runtime-XXXXXX) || exit 1
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
if unshare -n true 2>/dev/null; then
  unshare -n "$@"
else
  "$@"
fi
code=$?
rm -rf "$runtime"
exit $code
