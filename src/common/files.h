// File access for the game's data files, all relative to one root folder (the
// working directory in the game; a temporary folder in tests).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Folder that relative paths are resolved against; "" = the working directory.
void setFileRoot(const std::string &root);
std::string resolvePath(const char *path);

bool fileExists(const char *path);
// Whole file into bytes; false when it cannot be opened or read.
bool readWholeFile(const char *path, std::vector<uint8_t> &bytes);
// Replaces the file so that a crash or power cut leaves the old or the new
// content, never a mix: temporary file in the same folder, flush, rename.
bool replaceFileAtomically(const char *path, const std::vector<uint8_t> &bytes);
// Test hook: when set, called after the temporary file is written and flushed
// and before it is renamed over the old file (a test kills the process there).
extern void (*beforeReplaceHook)();
bool makeDirectory(const char *path);

// Reports a missing file or a failed start once per distinct message on stderr.
void reportOnce(const std::string &message);

// Little-endian helpers for byte-exact file layouts.
inline uint32_t readLe32(const uint8_t *p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void writeLe32(uint8_t *p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}
