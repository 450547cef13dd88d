// The display checks and the single-instance guard's name.
#include "shell/session.h"
#include "shell/shell.h"
#include <cstdio>
#include <cstring>

bool displayNamed(const char *display, const char *waylandDisplay) {
  return (display != nullptr && display[0] != '\0') ||
         (waylandDisplay != nullptr && waylandDisplay[0] != '\0');
}

bool drawsNowhere(const char *videoDriver) {
  return videoDriver != nullptr &&
         (std::strcmp(videoDriver, "offscreen") == 0 || std::strcmp(videoDriver, "dummy") == 0);
}

std::string instanceGuardName(uint32_t userId, const char *display, const char *waylandDisplay) {
  const std::string prefix = std::string(PROGRAM_NAME) + " uid " + std::to_string(userId);
  const std::string session = std::string(" x11 ") + (display != nullptr ? display : "") +
                              " wayland " + (waylandDisplay != nullptr ? waylandDisplay : "");
  if (prefix.size() + session.size() <= MAX_GUARD_NAME) {
    return prefix + session;
  }
  // A display named by a long socket path: its 64-bit FNV-1a hash stands in,
  // so names that differ only near their end stay apart.
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : session) {
    hash = (hash ^ c) * 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return prefix + " session " + hex;
}
