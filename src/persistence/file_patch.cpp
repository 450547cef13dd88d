// The writers of tt.pta and setting.pta once opened the file without
// truncating it and overwrote only their own bytes; building the new content
// in memory and renaming it into place keeps that promise across a crash.
#include "persistence/file_patch.h"
#include "common/files.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {
// The player's files this run leaves alone: they could not be read at start.
std::set<std::string> heldFiles;
} // namespace

void leaveFileAlone(const char *path) { heldFiles.insert(path); }

void stopLeavingFilesAlone() { heldFiles.clear(); }

bool fileLeftAlone(const char *path) { return heldFiles.count(path) != 0; }

bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length) {
  if (fileLeftAlone(path)) {
    return false; // the player was told at start
  }
  std::vector<uint8_t> content;
  if (!readWholeFile(path, content, PLAYER_FILE_MAX_BYTES) && errno != ENOENT && errno != ENOTDIR) {
    reportOnce(resolvePath(path) + " cannot be read (" + readFailureText(errno) +
               "); it is left as it is and not rewritten");
    return false;
  }
  if (content.size() < offset + length) {
    content.resize(offset + length, 0);
  }
  std::memcpy(content.data() + offset, bytes, length);
  if (!replaceFileAtomically(path, content)) {
    // Said at every failed write: each is a score, a save or a setting lost.
    const int why = errno;
    std::fprintf(stderr, "pelta: cannot write %s: %s\n", resolvePath(path).c_str(),
                 std::strerror(why));
    return false;
  }
  return true;
}

std::string keepDamagedFile(const char *path, const std::vector<uint8_t> &content) {
  // Each damaged copy gets a name of its own: an older one may be the one
  // the player still wants back.
  for (int n = 0; n < MAX_DAMAGED_COPIES; ++n) {
    const std::string kept =
        std::string(path) + ".damaged" + (n == 0 ? "" : "." + std::to_string(n));
    if (writeNewFile(kept.c_str(), content, path)) {
      std::fprintf(stderr, "pelta: %s was damaged and is replaced; the damaged file is kept as %s\n",
                   resolvePath(path).c_str(), resolvePath(kept.c_str()).c_str());
      return kept;
    }
    if (errno != EEXIST) {
      std::fprintf(stderr, "pelta: %s was damaged and is replaced; it could not be kept as %s: %s\n",
                   resolvePath(path).c_str(), resolvePath(kept.c_str()).c_str(),
                   std::strerror(errno));
      return "";
    }
  }
  std::fprintf(stderr, "pelta: %s was damaged and is replaced; %d damaged copies are kept "
                       "already, so this one is not\n", resolvePath(path).c_str(),
               MAX_DAMAGED_COPIES);
  return "";
}
