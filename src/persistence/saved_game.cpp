// The one saved game: five scrambled records at offset 1650 of tt.pta.
#include "persistence/saved_game.h"
#include "common/files.h"
#include "persistence/file_patch.h"
#include "persistence/record_code.h"
#include "persistence/top_ten.h"
#include "state/game_state.h"
#include <vector>

bool parseSavedGame(const uint8_t *bytes, size_t size, SavedGame *game) {
  if (size < static_cast<size_t>(TOP_TEN_FILE_LENGTH)) {
    return false;
  }
  const char *text = reinterpret_cast<const char *>(bytes) + SAVED_GAME_OFFSET;
  uint32_t format = 0;
  if (!decodeNumberRecord(text, &format) || format != FORMAT_NUMBER) {
    return false;
  }
  SavedGame read{};
  uint32_t livesValue = 0;
  uint32_t gameIdValue = 0;
  if (!decodeNumberRecord(text + 1 * RECORD_TEXT_LENGTH, &read.score) ||
      !decodeNumberRecord(text + 2 * RECORD_TEXT_LENGTH, &read.level) ||
      !decodeNumberRecord(text + 3 * RECORD_TEXT_LENGTH, &livesValue) ||
      !decodeNumberRecord(text + 4 * RECORD_TEXT_LENGTH, &gameIdValue)) {
    return false;
  }
  read.lives = static_cast<int32_t>(livesValue);
  read.gameId = static_cast<int32_t>(gameIdValue);
  // The game's per-level tables have 200 rows, and a game without lives is over.
  if (read.level < 1 || read.level > MAX_LEVEL || read.lives < 1) {
    return false;
  }
  *game = read;
  return true;
}

void encodeSavedGame(const SavedGame &game, uint8_t *out) {
  char *text = reinterpret_cast<char *>(out);
  encodeNumberRecord(FORMAT_NUMBER, text);
  encodeNumberRecord(game.score, text + 1 * RECORD_TEXT_LENGTH);
  encodeNumberRecord(game.level, text + 2 * RECORD_TEXT_LENGTH);
  encodeNumberRecord(static_cast<uint32_t>(game.lives), text + 3 * RECORD_TEXT_LENGTH);
  encodeNumberRecord(static_cast<uint32_t>(game.gameId), text + 4 * RECORD_TEXT_LENGTH);
}

SavedGame pointReached() {
  return SavedGame{totalScore, level >= MAX_LEVEL ? MAX_LEVEL : level + 1, lives, gameId};
}

bool writeSavedGame() { return storeSavedGame(pointReached()); }

bool storeSavedGame(const SavedGame &game) {
  uint8_t bytes[SAVED_GAME_LENGTH];
  encodeSavedGame(game, bytes);
  return patchFileRange(TOP_TEN_FILE, SAVED_GAME_OFFSET, bytes, sizeof bytes);
}

bool loadSavedGame() {
  std::vector<uint8_t> bytes;
  SavedGame game{};
  if (!readWholeFile(TOP_TEN_FILE, bytes, PLAYER_FILE_MAX_BYTES) ||
      !parseSavedGame(bytes.data(), bytes.size(), &game)) {
    return false;
  }
  totalScore = game.score;
  level = game.level;
  lives = game.lives;
  gameId = game.gameId;
  return true;
}
