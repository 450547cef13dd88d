// What the desktop session tells the start-up: whether there is a display to
// play on, and where the single-instance guard of this user lives.
#pragma once
#include <cstdint>
#include <string>

// Whether DISPLAY or WAYLAND_DISPLAY names a display (null or "" names none).
bool displayNamed(const char *display, const char *waylandDisplay);
// Video drivers that open a window nobody sees: the game refuses to run on them.
bool drawsNowhere(const char *videoDriver);
// Where the single-instance guard lives (its lock and socket add an ending):
// in $XDG_RUNTIME_DIR when that is an absolute folder of `userId`'s that no
// one else may enter, else in the per-user root. Never the display: one copy
// per user, whatever display or video driver it runs on.
std::string instanceGuardPath(uint32_t userId, const char *runtimeDir, const std::string &userRoot);
