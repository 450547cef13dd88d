#!/bin/sh
# Installs the Debian packages the game and its tests need, only those missing.
set -e
PACKAGES="cmake ninja-build g++ pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev \
libsdl2-image-dev libopenmpt-dev zlib1g-dev fonts-dejavu-core fontconfig libgl1-mesa-dri"
# The browser build: emscripten, stb's decoders, and npm for the tune player
# (a nodejs that brings its own npm needs no Debian npm).
WEB_PACKAGES="emscripten libstb-dev"
command -v npm >/dev/null 2>&1 || WEB_PACKAGES="$WEB_PACKAGES npm"
if [ "$1" = "--web" ]; then
  PACKAGES="$PACKAGES $WEB_PACKAGES"
fi
if [ "$1" = "--tests" ]; then
  PACKAGES="$PACKAGES $WEB_PACKAGES python3 chromium chromium-driver libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils x11-xkb-utils imagemagick \
clang libclang-rt-14-dev libebur128-dev desktop-file-utils appstream groff-base reuse lintian dpkg-dev file \
x11-xserver-utils openbox twm mutter kwin-wayland xwayland dbus libglib2.0-bin"
fi
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
