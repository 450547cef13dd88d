// TEMPORARY: stand-ins for the top-ten and saved-game files until the real
// ones are merged; linked into the tests only.
#include <vector>
#include "common/files.h"
#include "game/game_state.h"
#include "persistence/saved_game.h"
#include "persistence/top_ten.h"

TopTenEntry topTenFileTable[TOP_TEN_SIZE];
TopTenEntry topTenTable[TOP_TEN_SIZE];

void findTopTenRank() {
  topTenRank = 10;
  if (gameLoaded != 0) {
    for (const TopTenEntry &row : topTenFileTable) {
      if (row.gameId == gameId && row.score == totalScore && row.level == level) {
        return;
      }
    }
  }
  for (int i = 0; i < TOP_TEN_SIZE; ++i) {
    if (totalScore > topTenFileTable[i].score) {
      topTenRank = i;
      return;
    }
  }
}

void insertTopTenEntry() {}

bool writeSavedGame() {
  std::vector<uint8_t> bytes(16);
  writeLe32(&bytes[0], totalScore);
  writeLe32(&bytes[4], level < MAX_LEVEL ? level + 1 : MAX_LEVEL);
  writeLe32(&bytes[8], static_cast<uint32_t>(lives));
  writeLe32(&bytes[12], static_cast<uint32_t>(gameId));
  return replaceFileAtomically(TOP_TEN_FILE, bytes);
}

bool loadSavedGame() {
  std::vector<uint8_t> bytes;
  if (!readWholeFile(TOP_TEN_FILE, bytes) || bytes.size() < 16) {
    return false;
  }
  totalScore = readLe32(&bytes[0]);
  level = readLe32(&bytes[4]);
  lives = static_cast<int32_t>(readLe32(&bytes[8]));
  gameId = static_cast<int32_t>(readLe32(&bytes[12]));
  return true;
}
