// SPDX-License-Identifier: MIT
// The notices for the start-up's message box.
#include "common/notices.h"
#include "common/files.h"

namespace {
std::string notices;
} // namespace

void tellPlayer(const std::string &message) {
  if (notices.find(message + "\n") == std::string::npos) {
    notices += message + "\n";
  }
  reportOnce(message);
}

std::string takePlayerNotices() {
  std::string taken;
  taken.swap(notices);
  return taken;
}
