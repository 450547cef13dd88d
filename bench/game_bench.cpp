// Game screen speed: the whole play step and the whole game frame at level
// 200, with 200 white and 40 black enemies in play.
#include "common/files.h"
#include "common/random.h"
#include "game/game_screen.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "playfield/enemies.h"
#include "playfield/grid.h"
#include "playfield/track_list.h"
#include "presentation/text_draw.h"
#include "replay/replay.h"
#include "scratch_recording.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace {

void startLevel200() {
  static bool started = false;
  if (!started) {
    headless::reset();
    allocatePlayfield();
    allocateTrackList();
    textSprite = createSprite();
    started = true;
  }
  gameSrand(2024);
  level = 200;
  lives = 5;
  totalScore = 0;
  screenEntryPending = 1;
  setUpLevel();
  startCountdown = 0;
}

// Back and forth along the top border, so the player is always on the move.
void keepThePlayerRunning() {
  if (playerMoving == 0) {
    const bool goLeft = playerBox.x > 478;
    headless::setKey(VK_LEFT, goLeft);
    headless::setKey(VK_RIGHT, !goLeft);
  }
}

// A crash would stop every later step: play goes on at once, as after Enter.
int64_t shrugOffCrash() {
  if (crashed == 0) {
    return 0;
  }
  lives = 5;
  continueAfterCrash();
  return 1;
}

void BM_PlayStepLevel200(benchmark::State &state) {
  startLevel200();
  int64_t crashes = 0;
  for (auto _ : state) {
    keepThePlayerRunning();
    playStep();
    slowFrameToggle = 1 - slowFrameToggle;
    crashes += shrugOffCrash();
    benchmark::ClobberMemory();
  }
  state.counters["white"] = static_cast<double>(level);
  state.counters["black"] = static_cast<double>(blackEnemyCount);
  state.counters["crashes"] = static_cast<double>(crashes);
  headless::releaseAllKeys();
}
BENCHMARK(BM_PlayStepLevel200);

// The whole frame: sprites, flashes, status line, play step and keys.
void BM_GameFrameLevel200(benchmark::State &state) {
  startLevel200();
  for (auto _ : state) {
    keepThePlayerRunning();
    gameFrame();
    shrugOffCrash();
    headless::clearDrawLog();
    benchmark::ClobberMemory();
  }
  headless::releaseAllKeys();
}
BENCHMARK(BM_GameFrameLevel200);

// The same frame while the game is recorded, as the program plays it: the
// difference to the frame above is what recording costs.
void BM_GameFrameLevel200Recorded(benchmark::State &state) {
  const ScratchRecording scratch;
  startLevel200();
  screenState = Game;
  recordingEnabled = 1;
  for (auto _ : state) {
    keepThePlayerRunning();
    beginReplayFrame();
    gameFrame();
    endReplayFrame();
    shrugOffCrash();
    headless::clearDrawLog();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GameFrameLevel200Recorded);

} // namespace
