#!/bin/sh
# SPDX-License-Identifier: MIT
# The build's version text: git describe only when the source folder is the
# top of its own git work tree; a source folder inside another repository (a
# packaging repository) gets the project's version; PELTA_BUILD_VERSION wins.
SCRIPT="$1"
WORK=$(mktemp -d /tmp/pelta-version-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}
built() { # SOURCE_DIR [PELTA_BUILD_VERSION]
  cmake -DSOURCE_DIR="$1" -DOUTPUT="$WORK/v.cpp" -DVERSION=9.8 -DPELTA_BUILD_VERSION="$2" -P "$SCRIPT" &&
    sed -n 's/^const char \*const BUILD_VERSION = "\(.*\)";$/\1/p' "$WORK/v.cpp"
}
mkdir -p "$WORK/repo/pelta"
git -C "$WORK/repo" init -q &&
  git -C "$WORK/repo" -c user.name=t -c user.email=t@t commit -q --allow-empty -m t || fail "git"
head=$(git -C "$WORK/repo" rev-parse --short HEAD)
[ "$(built "$WORK/repo")" = "$head" ] || fail "the repository's own top: $(built "$WORK/repo")"
[ "$(built "$WORK/repo/pelta")" = 9.8 ] || fail "inside another repository: $(built "$WORK/repo/pelta")"
[ "$(built "$WORK/repo" 9.8-1)" = 9.8-1 ] || fail "PELTA_BUILD_VERSION: $(built "$WORK/repo" 9.8-1)"
grep -q 'PROGRAM_VERSION = "9.8";' "$WORK/v.cpp" || fail "PROGRAM_VERSION: $(cat "$WORK/v.cpp")"
echo "PASS build version"
