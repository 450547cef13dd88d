// Rewrites one byte range of a data file crash-safely, keeping every other
// byte of the file (extra bytes at the end included).
#pragma once
#include <cstddef>
#include <cstdint>

// The player's files (tt.pta 1815 bytes, setting.pta 16) with room for extra
// bytes; anything larger, or no regular file at all, reads as damaged.
constexpr size_t PLAYER_FILE_MAX_BYTES = 8192;

// Reads the file (a missing one counts as empty, padded with zero bytes up to
// `offset`), puts `length` bytes at `offset` and replaces the whole file
// atomically. False when nothing was written, e.g. an existing file that
// cannot be read (or is no regular file, or larger than PLAYER_FILE_MAX_BYTES),
// whose other bytes would otherwise be lost: such a file is left as it is.
// A write that fails says so on stderr, naming the file and the reason.
bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length);
// Keeps a damaged file beside it as `<path>.damaged` (replacing an older one)
// before the caller resets it, and says so on stderr, so that what it held
// can still be recovered. A readable file is copied (the reset then keeps its
// extra bytes and permission bits); anything else (unreadable, oversized, no
// regular file) is moved aside. False when nothing could be kept.
bool keepDamagedFile(const char *path);
