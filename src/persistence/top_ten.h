// The hall of fame: two copies of the ten best games and the top-ten file
// (which also holds the saved game behind the ten entries).
#pragma once
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

extern TopTenEntry topTenFileTable[TOP_TEN_SIZE]; // mirrors the file
extern TopTenEntry topTenTable[TOP_TEN_SIZE];     // what the name entry works on

bool readTopTenFile();
// Writes the ten entries into the first 1650 bytes; every other byte of the
// file stays as it was. False when the file could not be written.
bool writeTopTenFile();
void resetTopTenFile();
void copyTopTen(bool toShown);
// Sets topTenRank: the row the finished game takes, or 10.
void findTopTenRank();
void insertTopTenEntry();
