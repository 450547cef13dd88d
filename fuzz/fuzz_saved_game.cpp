// Fuzzes the saved-game loader: a game it accepts is always one that can be played.
#include "persistence/saved_game.h"
#include "state/game_state.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  SavedGame game{};
  if (parseSavedGame(data, size, &game)) {
    if (game.level < 1 || game.level > MAX_LEVEL || game.lives < 1) {
      std::abort();
    }
  }
  return 0;
}
