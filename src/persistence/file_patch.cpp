// The writers of tt.pta and setting.pta once opened the file without
// truncating it and overwrote only their own bytes; building the new content
// in memory and renaming it into place keeps that promise across a crash.
#include "persistence/file_patch.h"
#include "common/files.h"
#include <cstring>
#include <vector>

bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length) {
  std::vector<uint8_t> content;
  if (!readWholeFile(path, content) && fileExists(path)) {
    return false;
  }
  if (content.size() < offset + length) {
    content.resize(offset + length, 0);
  }
  std::memcpy(content.data() + offset, bytes, length);
  return replaceFileAtomically(path, content);
}
