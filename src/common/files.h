// File access for the game's files: the player's files under the per-user
// root, the read-only game data in the data folder found at start (both
// temporary folders in tests).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

// The per-user root: the player's files ("data/tt.pta", "data/setting.pta",
// "screenshots/...") and any folder added beside them are paths under it.
void setUserRoot(const std::string &root);
const std::string &userRoot();
// A relative path under the per-user root; an absolute one as it is.
std::string resolvePath(const char *path);

// The folder of the read-only game data (the one holding primitives.pta).
void setDataFolder(const std::string &folder);
// A game data file by the name the game gives it, "data/xf1.pta" (or with a
// backslash, "data\\xm00.xm"): the folder found at start stands for "data".
// Before any folder is set, the per-user root's own data/ is used, as the
// scratch folders of the tests and the simulator lay it out.
std::string dataPath(const char *name);

bool fileExists(const char *path);
// errno of a read refused because the path is no regular file.
constexpr int NOT_A_REGULAR_FILE = -1;
// Why a read failed, for a message: "Permission denied", "it is not a
// regular file", "it is larger than any file the game reads".
std::string readFailureText(int error);
// Larger than any data file the game reads: a bigger one is refused unread.
constexpr size_t MAX_DATA_FILE_BYTES = size_t(64) << 20;
// Whole file into bytes; false when it is missing or cannot be read, and also
// when it is no regular file (a FIFO would block, /dev/zero never ends) or
// holds more than maxBytes. On failure errno tells which: the system's
// reason, NOT_A_REGULAR_FILE, or EFBIG for a file too large.
bool readWholeFile(const char *path, std::vector<uint8_t> &bytes,
                   size_t maxBytes = MAX_DATA_FILE_BYTES);
// The first `count` bytes (fewer when the file is shorter) of a regular file
// of at most maxBytes; false as readWholeFile.
bool readFileStart(const char *path, std::vector<uint8_t> &bytes, size_t count,
                   size_t maxBytes = MAX_DATA_FILE_BYTES);
// The file a chain of symbolic links ends at (the path itself when it is none).
std::string linkTarget(const std::string &path);
// Replaces the file so that a crash or power cut leaves the old or the new
// content, never a mix (a link is kept: its target is replaced instead): a temporary file of a fresh unique name in the same
// folder (created exclusively, never through a link), flush, rename. The new
// file keeps the old one's permission bits, or those of `permissionsOf`.
// On failure errno tells why (the temporary file is gone again).
bool replaceFileAtomically(const char *path, const std::vector<uint8_t> &bytes,
                           const char *permissionsOf = nullptr);
// Test hook: when set, called after the temporary file is written and flushed
// and before it is renamed over the old file (a test kills the process there).
extern void (*beforeReplaceHook)();
// The system calls that reading and replacing go through, so a test can make
// one fail or check their order (the flush must come before the rename).
struct FileCalls {
  ssize_t (*read)(int fd, void *buffer, size_t size);
  ssize_t (*write)(int fd, const void *data, size_t size);
  int (*fsync)(int fd);
  int (*rename)(const char *from, const char *to);
};
extern FileCalls fileCalls;
extern const FileCalls SYSTEM_FILE_CALLS;
bool makeDirectory(const char *path);
// Creates a folder and any missing folder above it (new ones private, 0700);
// an absolute path, taken as it is. False with errno set when it cannot.
bool makeDirectories(const std::string &folder);
// Writes a new file only when none of that name exists, never replacing one
// (not even one made meanwhile by another start): written and flushed under
// a temporary name first, then linked into place. False with errno set
// (EEXIST when the file was there).
bool writeNewFile(const char *path, const std::vector<uint8_t> &bytes,
                  const char *permissionsOf = nullptr);
// The names in a folder ("." and ".." left out); empty when it cannot be read.
std::vector<std::string> listFolder(const char *path);
bool removeFile(const char *path);
// Whether a name is one of the temporary names writeTemporaryBeside gives
// ("tt.pta.tmp-a1B2c3").
bool isTemporaryName(const std::string &name);
// Removes the regular files of temporary names in a folder last changed
// before `startSeconds` (the clock's seconds): what a killed run left. The
// guard is held, so no other copy is writing them. Returns how many.
int removeStaleTemporaryFiles(const char *folder, uint32_t startSeconds);

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
