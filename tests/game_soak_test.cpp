// Thousands of frames of random steering at a few levels; after every frame
// the grid, the captured count, the track list and every position must still
// make sense.
#include "game_helpers.h"
#include "playfield/items.h"
#include "playfield/track_list.h"
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// How many of the eight bytes of a word are zero (exact, no false hits).
int zeroBytes(uint64_t word) {
  constexpr uint64_t LOW7 = 0x7F7F7F7F7F7F7F7Full;
  const uint64_t marks = ~(((word & LOW7) + LOW7) | word | LOW7) >> 7; // 1 per zero byte
  return static_cast<int>((marks * 0x0101010101010101ull) >> 56);
}

// Everything that must hold between two frames; the first broken rule, or "".
std::string brokenRule(std::vector<uint8_t> &listed) {
  const auto where = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
  // The guard ring stays free and the 15-cell frame stays captured.
  for (int x = -1; x <= FIELD_WIDTH; ++x) {
    if (cellAt(x, -1) != CELL_FREE || cellAt(x, FIELD_HEIGHT) != CELL_FREE) {
      return "guard cell in column " + std::to_string(x) + " is not free";
    }
  }
  for (int y = 0; y < FIELD_HEIGHT; ++y) {
    if (cellAt(-1, y) != CELL_FREE || cellAt(FIELD_WIDTH, y) != CELL_FREE) {
      return "guard cell in row " + std::to_string(y) + " is not free";
    }
    for (int x = 0; x < FIELD_WIDTH; ++x) {
      const bool frame = x < 15 || x > 944 || y < 15 || y > 499;
      if (frame && cellAt(x, y) != CELL_CAPTURED) {
        return "frame cell " + where(x, y) + " is not captured";
      }
      if (!frame) {
        x = 944; // the interior is counted below, a row at a time
      }
    }
  }
  uint32_t captured = 0;
  int32_t trackCount = 0;
  uint32_t strange = 0;
  for (int y = 15; y <= 499; ++y) {
    const uint8_t *row = &cellAt(15, y);
    int i = 0;
    for (; i + 8 <= 930; i += 8) {
      uint64_t word = 0;
      std::memcpy(&word, row + i, 8);
      const int free = zeroBytes(word);
      const int one = zeroBytes(word ^ 0x0101010101010101ull);
      const int track = zeroBytes(word ^ 0x6565656565656565ull);
      captured += static_cast<uint32_t>(one);
      trackCount += track;
      strange += static_cast<uint32_t>(8 - free - one - track);
    }
    for (; i < 930; ++i) {
      const uint8_t c = row[i];
      captured += c == CELL_CAPTURED;
      trackCount += c == CELL_TRACK;
      strange += c != CELL_FREE && c != CELL_CAPTURED && c != CELL_TRACK;
    }
  }
  if (strange != 0) {
    return std::to_string(strange) + " cells hold neither free, captured nor track";
  }
  if (captured != capturedCells) {
    return "capturedCells " + std::to_string(capturedCells) + " but " + std::to_string(captured) +
           " interior cells are captured";
  }
  if (trackValueCount != 2 * trackCount) {
    return "track list holds " + std::to_string(trackValueCount / 2) + " cells, the grid " +
           std::to_string(trackCount);
  }
  std::string problem;
  for (int32_t i = 0; i < trackValueCount && problem.empty(); i += 2) {
    const int x = trackCells[i];
    const int y = trackCells[i + 1];
    if (x < 15 || x > 944 || y < 15 || y > 499 || cellAt(x, y) != CELL_TRACK) {
      problem =
          "listed track cell " + std::to_string(x) + "," + std::to_string(y) + " is not track";
    } else if (listed[static_cast<size_t>(y * FIELD_WIDTH + x)]++ != 0) {
      problem = "track cell " + std::to_string(x) + "," + std::to_string(y) + " listed twice";
    }
  }
  for (int32_t i = 0; i + 1 < trackValueCount; i += 2) {
    const int x = trackCells[i];
    const int y = trackCells[i + 1];
    if (x >= 0 && x < FIELD_WIDTH && y >= 0 && y < FIELD_HEIGHT) {
      listed[static_cast<size_t>(y * FIELD_WIDTH + x)] = 0;
    }
  }
  if (!problem.empty()) {
    return problem;
  }
  // Enemies bring their derived box fields up to date at the start of their
  // step, so only x and y are compared here.
  auto inside = [](const EntityBox &b, int maxY) {
    return b.x >= 0 && b.x <= 955 && b.y >= 0 && b.y <= maxY;
  };
  if (!inside(playerBox, 510) || playerBox.right != playerBox.x + 4 ||
      playerBox.bottom != playerBox.y + 4) {
    return "player at " + std::to_string(playerBox.x) + "," + std::to_string(playerBox.y);
  }
  for (uint32_t i = 0; i < level; ++i) {
    const EntityBox &b = whiteEnemies[i].box;
    // White enemies live in the free area, which lies inside the frame.
    if (b.x < 15 || b.x > 940 || b.y < 15 || b.y > 495) {
      return "white enemy " + std::to_string(i) + " at " + std::to_string(b.x) + "," +
             std::to_string(b.y);
    }
  }
  for (uint32_t i = 0; i < blackEnemyCount; ++i) {
    // The left-edge nudge may carry a black enemy one row below the last
    // full row in the bottom-left corner; the guard row is read there, never written.
    if (!inside(blackEnemies[i].box, 511)) {
      return "black enemy " + std::to_string(i) + " at " + std::to_string(blackEnemies[i].box.x) +
             "," + std::to_string(blackEnemies[i].box.y);
    }
  }
  return "";
}

const int ARROWS[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};

struct SoakCounts {
  int crashes = 0;
  int captures = 0;
  int levelsCompleted = 0;
};

SoakCounts soak(uint32_t startLevel, int frames, uint32_t seed) {
  enterGame(startLevel, seed);
  lives = 1000000; // the game must not end here
  std::mt19937 keys(seed);
  std::vector<uint8_t> listed(static_cast<size_t>(FIELD_WIDTH) * FIELD_HEIGHT, 0);
  SoakCounts counts;
  uint32_t lastCaptured = 0;
  bool wasCrashed = false;
  bool wasComplete = false;
  for (int frame = 0; frame < frames; ++frame) {
    if (keys() % 12 == 0) {
      for (int vk : ARROWS) {
        releaseKey(vk);
      }
      const uint32_t choice = keys() % 6;
      if (choice < 4) {
        pressKey(ARROWS[choice]);
      }
    }
    const bool wantEnter = (crashed != 0 && crashFrames > 10 && keys() % 8 == 0) ||
                           (levelComplete != 0 && keys() % 30 == 0);
    headless::setKey(VK_RETURN, wantEnter);
    headless::setKey('M', keys() % 500 == 0);
    runFrames(1);
    headless::clearDrawLog();
    const std::string rule = brokenRule(listed);
    if (!rule.empty()) {
      ADD_FAILURE() << "level " << startLevel << " frame " << frame << ": " << rule;
      break;
    }
    if (screenState != Game) {
      ADD_FAILURE() << "left the game screen at frame " << frame;
      break;
    }
    counts.crashes += crashed != 0 && !wasCrashed ? 1 : 0;
    wasCrashed = crashed != 0;
    counts.captures += capturedCells > lastCaptured ? 1 : 0;
    counts.levelsCompleted += levelComplete != 0 && !wasComplete ? 1 : 0;
    wasComplete = levelComplete != 0;
    lastCaptured = capturedCells;
  }
  headless::releaseAllKeys();
  return counts;
}

} // namespace

TEST(GameSoak, RandomSteeringKeepsTheFieldConsistent) {
  const SoakCounts first = soak(1, 6000, 11);
  const SoakCounts middle = soak(50, 4000, 22);
  const SoakCounts last = soak(200, 4000, 33);
  // The runs must have done something worth checking.
  EXPECT_GT(first.captures, 3);
  EXPECT_GT(first.crashes + middle.crashes + last.crashes, 3);
  EXPECT_GT(middle.captures + last.captures, 3);
}
