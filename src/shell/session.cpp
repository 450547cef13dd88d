// The display checks and the single-instance guard's place.
#include "shell/session.h"
#include "shell/shell.h"
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

bool displayNamed(const char *display, const char *waylandDisplay) {
  return (display != nullptr && display[0] != '\0') ||
         (waylandDisplay != nullptr && waylandDisplay[0] != '\0');
}

bool drawsNowhere(const char *videoDriver) {
  return videoDriver != nullptr &&
         (std::strcmp(videoDriver, "offscreen") == 0 || std::strcmp(videoDriver, "dummy") == 0);
}

std::string instanceGuardPath(uint32_t userId, const char *runtimeDir, const std::string &userRoot) {
  struct stat st;
  // Another user's folder, or one others may enter, could hold a lock they
  // took first or a socket they listen on.
  if (runtimeDir != nullptr && runtimeDir[0] == '/' && ::lstat(runtimeDir, &st) == 0 &&
      S_ISDIR(st.st_mode) && st.st_uid == userId && (st.st_mode & 077) == 0) {
    return std::string(runtimeDir) + "/" + APP_ID;
  }
  return userRoot + "/instance";
}
