// The hall of fame: two copies of the ten best games and the top-ten file
// (which also holds the saved game behind the ten entries).
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int TOP_TEN_SIZE = 10;
constexpr const char *TOP_TEN_FILE = "data/tt.pta";
constexpr const char *EMPTY_NAME = "..........";

struct TopTenEntry {
  uint32_t score;
  uint32_t level;
  char name[11]; // always 10 characters and a NUL
  int32_t gameId;
};

// The file: ten entries of five scrambled records each, then the saved game.
constexpr int ENTRY_FILE_LENGTH = 165;
constexpr int TOP_TEN_LENGTH = TOP_TEN_SIZE * ENTRY_FILE_LENGTH; // 1650
constexpr int SAVED_GAME_OFFSET = 1650;
constexpr int SAVED_GAME_LENGTH = 165;
constexpr int TOP_TEN_FILE_LENGTH = SAVED_GAME_OFFSET + SAVED_GAME_LENGTH; // 1815

extern TopTenEntry topTenFileTable[TOP_TEN_SIZE]; // mirrors the file
extern TopTenEntry topTenTable[TOP_TEN_SIZE];     // what the name entry works on

// Start-up: the file's table, or the defaults written at once (saved game
// included) when the file is missing or damaged (a damaged one is kept
// under a new name first); then the working copy. A file that cannot be
// read is left alone for the run (the defaults are only in memory), and the
// player is told.
void loadTopTen();
bool readTopTenFile();
// Writes the ten entries into the first 1650 bytes; every other byte of the
// file stays as it was. False when the file could not be written.
bool writeTopTenFile();
void resetTopTenFile();
void copyTopTen(bool toShown);
// Sets topTenRank: the row the finished game takes, or 10.
void findTopTenRank();
void insertTopTenEntry();

// The ten entries from the first 1650 bytes of the file's content into
// `table`; false when the content is short, an entry's format record does not
// read as 2 or any record is damaged. Rows before the failure are changed.
bool parseTopTenEntries(const uint8_t *bytes, size_t size, TopTenEntry *table);
// The ten entries as the 1650 bytes of the file (two draws per record).
void encodeTopTenEntries(const TopTenEntry *table, uint8_t *out);
