// Playfield speed: the enemy steps at level 200 and the worst capture,
// against one plain pass over the same grid and picture bytes.
#include "common/random.h"
#include "platform/headless/headless.h"
#include "playfield/capture.h"
#include "playfield/enemies.h"
#include "playfield/items.h"
#include "playfield/painting.h"
#include "playfield/track_list.h"
#include "state/game_state.h"
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstring>
#include <vector>

namespace {
void fill(int x0, int y0, int x1, int y1, uint8_t value) {
  for (int y = y0; y <= y1; ++y) {
    std::memset(&cellAt(x0, y), value, static_cast<size_t>(x1 - x0 + 1));
  }
}

void startLevel(uint32_t levelNumber) {
  static bool started = false;
  if (!started) {
    headless::reset();
    allocatePlayfield();
    allocateTrackList();
    started = true;
  }
  level = levelNumber;
  setUpPlayfield();
  crashed = 0;
  levelComplete = 0;
  trackShielded = 0;
  enemiesSlowed = 0;
  capturedCells = 0;
  totalScore = 0;
  playerGround = GROUND_SAFE;
  placeBox(playerBox, 478, 5);
  for (BonusItem &item : bonusItems) {
    item.active = 0;
  }
}

// Level 200 after a few captures: passages and open ground for both kinds.
void BM_EnemyStepLevel200(benchmark::State &state) {
  startLevel(200);
  fill(15, 200, 944, 204, CELL_CAPTURED);  // an east-west passage
  fill(300, 15, 304, 499, CELL_CAPTURED);  // a north-south passage
  fill(700, 300, 944, 499, CELL_CAPTURED); // a captured block
  placeBox(playerBox, 600, 100);           // out in the open, away from every passage
  gameSrand(2024);
  placeBlackEnemies(200);
  placeWhiteEnemies(200);
  int64_t crashes = 0;
  for (auto _ : state) {
    stepBlackEnemies();
    stepWhiteEnemies();
    if (crashed != 0) { // keep every frame a full step
      ++crashes;
      crashed = 0;
      for (Enemy &e : blackEnemies) {
        e.spriteShift = 0;
      }
    }
    benchmark::ClobberMemory();
  }
  state.counters["black"] = static_cast<double>(blackEnemyCount);
  state.counters["crashes"] = static_cast<double>(crashes);
}
BENCHMARK(BM_EnemyStepLevel200);

// The grid before the capture is copied back in untimed.
std::vector<uint8_t> savedGrid;

void saveGrid() { savedGrid.assign(playfield, playfield + GRID_BYTES); }
void restoreGrid() {
  std::copy(savedGrid.begin(), savedGrid.end(), playfield);
  trackValueCount = 0;
  capturedCells = 0;
  levelComplete = 0;
  totalScore = 0;
}

// Times the capture of the saved field, restoring the field between runs.
void timeCaptures(benchmark::State &state) {
  saveGrid();
  for (auto _ : state) {
    state.PauseTiming();
    restoreGrid();
    state.ResumeTiming();
    markWhiteEnemyRegions();
    captureEnclosedAreas();
    benchmark::ClobberMemory();
  }
}

// Nearly everything captured and painted: one enemy kept in a thin strip
// at the left edge behind a track that runs the field's full height.
void BM_CaptureWholeFieldPainted(benchmark::State &state) {
  startLevel(1);
  fill(20, 15, 24, 499, CELL_TRACK);
  placeBox(whiteEnemies[0].box, 15, 250);
  timeCaptures(state);
  state.counters["captured"] = static_cast<double>(capturedCells);
}
BENCHMARK(BM_CaptureWholeFieldPainted)->Unit(benchmark::kMicrosecond);

// The longest plain outline: the enemy's region is the whole interior, so
// the tracer walks the frame all round and the scan clears every mark.
void BM_CaptureOutlineWholeField(benchmark::State &state) {
  startLevel(1);
  placeBox(whiteEnemies[0].box, 400, 250);
  timeCaptures(state);
}
BENCHMARK(BM_CaptureOutlineWholeField)->Unit(benchmark::kMicrosecond);

// The yardstick: every byte of the scan window and its picture rows written
// once, with no decisions at all.
void BM_PlainPassSameBytes(benchmark::State &state) {
  startLevel(1);
  saveGrid();
  for (auto _ : state) {
    state.PauseTiming();
    restoreGrid();
    state.ResumeTiming();
    uint32_t *pixels = lockPlayfield();
    const int32_t width = lockedPlayfieldWidth();
    for (int32_t y = 14; y <= 500; ++y) {
      uint8_t *row = &cellAt(14, y);
      std::memset(row, CELL_CAPTURED, 945 - 14 + 1);
      uint32_t *p = pixels + static_cast<size_t>(2 * y) * width + 28;
      std::fill(p, p + 2 * (945 - 14 + 1), COLOUR_CAPTURED);
      std::fill(p + width, p + width + 2 * (945 - 14 + 1), COLOUR_CAPTURED);
    }
    markPlayfieldRowsChanged(14, 500);
    unlockPlayfield();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainPassSameBytes)->Unit(benchmark::kMicrosecond);
} // namespace
