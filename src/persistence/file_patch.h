// Rewrites one byte range of a data file crash-safely, keeping every other
// byte of the file (extra bytes at the end included).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The player's files (tt.pta 1815 bytes, setting.pta 16) with room for extra
// bytes; anything larger, or no regular file at all, reads as damaged.
constexpr size_t PLAYER_FILE_MAX_BYTES = 8192;

// Reads the file (a missing one counts as empty, padded with zero bytes up to
// `offset`), puts `length` bytes at `offset` and replaces the whole file
// atomically. False when nothing was written: a file left alone this run, or
// an existing file that cannot be read (or is no regular file, or larger
// than PLAYER_FILE_MAX_BYTES), whose other bytes would otherwise be lost:
// such a file is left as it is. A write that fails says so on stderr, naming
// the file and the reason.
bool patchFileRange(const char *path, size_t offset, const uint8_t *bytes, size_t length);
// A player's file that could not be read at start is left alone for the
// whole run, even once it could be read again (a descriptor limit that
// eased): the game's defaults in memory must never replace what it holds.
void leaveFileAlone(const char *path);
bool fileLeftAlone(const char *path);
void stopLeavingFilesAlone(); // tests, and a new start in the same process
// How many damaged copies of one file are kept at most.
constexpr int MAX_DAMAGED_COPIES = 100;
// Keeps the content of a damaged file (read, but not as the game writes it)
// beside it before the caller resets it: as `<path>.damaged`, or when that
// is taken `.damaged.1`, `.damaged.2`, ..., never over an older copy. Says
// so on stderr; returns the name kept, empty when none could be.
std::string keepDamagedFile(const char *path, const std::vector<uint8_t> &content);
