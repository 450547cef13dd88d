// What the desktop session tells the start-up: whether there is a display to
// play on, and the single-instance guard's name for this user and display.
#pragma once
#include <cstdint>
#include <string>

// Whether DISPLAY or WAYLAND_DISPLAY names a display (null or "" names none).
bool displayNamed(const char *display, const char *waylandDisplay);
// Video drivers that open a window nobody sees: the game refuses to run on them.
bool drawsNowhere(const char *videoDriver);
// The guard's name: the program's, the user id and both display variables,
// so two users (or one user on two displays) each play while a second start
// on the same display finds the first. Never longer than MAX_GUARD_NAME.
std::string instanceGuardName(uint32_t userId, const char *display, const char *waylandDisplay);
// What an abstract socket name holds with room to spare.
constexpr size_t MAX_GUARD_NAME = 100;
