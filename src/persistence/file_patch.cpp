// The writers of tt.pta and setting.pta once opened the file without
// truncating it and overwrote only their own bytes; building the new content
// in memory and renaming it into place keeps that promise across a crash.
#include "persistence/file_patch.h"
#include "common/files.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length) {
  std::vector<uint8_t> content;
  if (!readWholeFile(path, content, PLAYER_FILE_MAX_BYTES) && fileExists(path)) {
    reportOnce(resolvePath(path) + " cannot be read; it is left as it is and not rewritten");
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

bool keepDamagedFile(const char *path) {
  const std::string kept = std::string(path) + ".damaged";
  std::vector<uint8_t> content;
  bool done = false;
  if (readWholeFile(path, content, PLAYER_FILE_MAX_BYTES)) {
    done = replaceFileAtomically(kept.c_str(), content, path);
  } else {
    done = std::rename(resolvePath(path).c_str(), resolvePath(kept.c_str()).c_str()) == 0;
  }
  // Said every time (not once per run): each keep replaces the last one.
  std::fprintf(stderr, "pelta: %s was damaged and is replaced; %s %s\n", resolvePath(path).c_str(),
               done ? "the damaged file is kept as" : "it could not be kept as",
               resolvePath(kept.c_str()).c_str());
  return done;
}
