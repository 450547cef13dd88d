// The hall of fame: the two tables, the first 1650 bytes of tt.pta, the
// defaults, the rank test and the insertion of a new result.
#include "persistence/top_ten.h"
#include "common/files.h"
#include "common/notices.h"
#include "common/random.h"
#include "common/start_values.h"
#include "persistence/file_patch.h"
#include "persistence/record_code.h"
#include "persistence/saved_game.h"
#include "state/game_state.h"
#include <cerrno>
#include <cstring>
#include <vector>

TopTenEntry topTenFileTable[TOP_TEN_SIZE];
TopTenEntry topTenTable[TOP_TEN_SIZE];

namespace {
constexpr int FORMAT_RECORD = 0;
constexpr int SCORE_RECORD = 1 * RECORD_TEXT_LENGTH;
constexpr int LEVEL_RECORD = 2 * RECORD_TEXT_LENGTH;
constexpr int NAME_RECORD = 3 * RECORD_TEXT_LENGTH;
constexpr int GAME_ID_RECORD = 4 * RECORD_TEXT_LENGTH;

void copyEntry(TopTenEntry &to, const TopTenEntry &from) {
  to.score = from.score;
  to.level = from.level;
  to.gameId = from.gameId;
  std::memcpy(to.name, from.name, sizeof to.name);
  to.name[10] = '\0';
}
} // namespace

bool parseTopTenEntries(const uint8_t *bytes, size_t size, TopTenEntry *table) {
  const char *text = reinterpret_cast<const char *>(bytes);
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    size_t start = static_cast<size_t>(k) * ENTRY_FILE_LENGTH;
    if (size < start + ENTRY_FILE_LENGTH) {
      return false;
    }
    const char *entry = text + start;
    uint32_t format = 0;
    if (!decodeNumberRecord(entry + FORMAT_RECORD, &format) || format != FORMAT_NUMBER) {
      return false;
    }
    uint32_t gameIdValue = 0;
    uint8_t name[RECORD_DATA_LENGTH];
    if (!decodeNumberRecord(entry + SCORE_RECORD, &table[k].score) ||
        !decodeNumberRecord(entry + LEVEL_RECORD, &table[k].level) ||
        !decodeRecord(entry + NAME_RECORD, name) ||
        !decodeNumberRecord(entry + GAME_ID_RECORD, &gameIdValue)) {
      return false;
    }
    std::memcpy(table[k].name, name, RECORD_DATA_LENGTH);
    table[k].name[10] = '\0';
    table[k].gameId = static_cast<int32_t>(gameIdValue);
  }
  return true;
}

void encodeTopTenEntries(const TopTenEntry *table, uint8_t *out) {
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    char *entry = reinterpret_cast<char *>(out) + k * ENTRY_FILE_LENGTH;
    encodeNumberRecord(FORMAT_NUMBER, entry + FORMAT_RECORD);
    encodeNumberRecord(table[k].score, entry + SCORE_RECORD);
    encodeNumberRecord(table[k].level, entry + LEVEL_RECORD);
    encodeRecord(reinterpret_cast<const uint8_t *>(table[k].name), entry + NAME_RECORD);
    encodeNumberRecord(static_cast<uint32_t>(table[k].gameId), entry + GAME_ID_RECORD);
  }
}

void loadTopTen() {
  std::vector<uint8_t> bytes;
  const bool read = readWholeFile(TOP_TEN_FILE, bytes, PLAYER_FILE_MAX_BYTES);
  const int why = errno;
  if (read && parseTopTenEntries(bytes.data(), bytes.size(), topTenFileTable)) {
    copyTopTen(true);
    return;
  }
  if (read) {
    // Read, but not as the game writes it: damaged. The reset rewrites the
    // whole file, the saved game included, so its content is kept first.
    keepDamagedFile(TOP_TEN_FILE, bytes);
  } else if (why != ENOENT && why != ENOTDIR) {
    // Not read is not damaged: permissions, a descriptor limit or a failing
    // disk say nothing about the file, which may hold the player's scores.
    leaveFileAlone(TOP_TEN_FILE);
    tellPlayer(resolvePath(TOP_TEN_FILE) + " cannot be read (" + readFailureText(why) +
               "); it is left as it is, and this run's scores and saved game are not kept");
  }
  resetTopTenFile();
  copyTopTen(true);
}

bool readTopTenFile() {
  std::vector<uint8_t> bytes;
  if (!readWholeFile(TOP_TEN_FILE, bytes, PLAYER_FILE_MAX_BYTES)) {
    return false;
  }
  return parseTopTenEntries(bytes.data(), bytes.size(), topTenFileTable);
}

bool writeTopTenFile() {
  uint8_t entries[TOP_TEN_LENGTH];
  encodeTopTenEntries(topTenFileTable, entries);
  return patchFileRange(TOP_TEN_FILE, 0, entries, sizeof entries);
}

void resetTopTenFile() {
  for (TopTenEntry &row : topTenFileTable) {
    row.score = 0;
    row.level = 0;
    row.gameId = 0;
    std::memcpy(row.name, EMPTY_NAME, 11);
  }
  writeTopTenFile();
  // The default saved game: a fresh game at level 1, with an identity of its
  // own drawn as a new game draws one.
  storeSavedGame(SavedGame{0, 1, START_LIVES, drawGameId()});
}

void copyTopTen(bool toShown) {
  const TopTenEntry *from = toShown ? topTenFileTable : topTenTable;
  TopTenEntry *to = toShown ? topTenTable : topTenFileTable;
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    copyEntry(to[k], from[k]);
  }
}

void findTopTenRank() {
  topTenRank = NO_TOP_TEN_PLACE;
  if (gameLoaded) {
    // Only the first result of one saved game gets in, however often that
    // saved game is continued and lost again at the same point.
    for (const TopTenEntry &row : topTenFileTable) {
      if (row.gameId == gameId && row.score == totalScore && row.level == level) {
        return;
      }
    }
  }
  for (int i = 0; i < TOP_TEN_SIZE; ++i) {
    // Strictly greater: a tie ranks below the older result.
    if (totalScore > topTenFileTable[i].score) {
      topTenRank = i;
      return;
    }
  }
}

void insertTopTenEntry() {
  int r = topTenRank;
  if (r < 0 || r >= TOP_TEN_SIZE) {
    return;
  }
  for (int k = TOP_TEN_SIZE - 2; k >= r; --k) {
    copyEntry(topTenTable[k + 1], topTenTable[k]);
  }
  topTenTable[r].score = totalScore;
  topTenTable[r].level = level;
  topTenTable[r].gameId = gameId;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    topTenFileTable, topTenTable);
} // namespace
