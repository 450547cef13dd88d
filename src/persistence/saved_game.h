// The one saved game, stored behind the top ten in the top-ten file.
#pragma once
#include <cstddef>
#include <cstdint>

// The values one saved game holds; level is the level at which play goes on.
struct SavedGame {
  uint32_t score;
  uint32_t level;
  int32_t lives;
  int32_t gameId;
};

// The point reached on the level-complete screen: play goes on at the next level.
SavedGame pointReached();
// Stores the point reached; true only when the file was really written.
bool writeSavedGame();
// Stores this saved game; true only when the file was really written.
bool storeSavedGame(const SavedGame &game);
// Reads the saved game into the game globals; true when one was read.
bool loadSavedGame();

// The saved game from the file's whole content; false when it is missing,
// short, damaged, or holds a level outside 1..200 or fewer than one life.
bool parseSavedGame(const uint8_t *bytes, size_t size, SavedGame *game);
// The saved game as its 165 bytes in the file (two draws per record).
void encodeSavedGame(const SavedGame &game, uint8_t *out);
