// Rewrites one byte range of a data file crash-safely, keeping every other
// byte of the file (extra bytes at the end included).
#pragma once
#include <cstddef>
#include <cstdint>

// Reads the file (a missing one counts as empty, padded with zero bytes up to
// `offset`), puts `length` bytes at `offset` and replaces the whole file
// atomically. False when nothing was written, e.g. an existing file that
// cannot be read, whose other bytes would otherwise be lost.
bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length);
