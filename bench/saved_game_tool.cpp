// pelta_bench_save LEVEL LIVES SCORE: stores a saved game in the top-ten file
// the game would read from this folder (made with empty entries when there is
// none), so the benchmark can continue a game at any level with L.
#include "common/random.h"
#include "persistence/saved_game.h"
#include "persistence/top_ten.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fputs("usage: pelta_bench_save LEVEL LIVES SCORE\n", stderr);
    return 2;
  }
  gameSrand(1);
  loadTopTen();
  SavedGame game{static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)),
                 static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)),
                 static_cast<int32_t>(std::strtol(argv[2], nullptr, 10)), 12345};
  if (!storeSavedGame(game)) {
    std::fputs("pelta_bench_save: the saved game could not be written\n", stderr);
    return 1;
  }
  return 0;
}
