// A whole level played from a fixed seed with a fixed key script: a crash
// into the own track, the continue, three captures and the level's end.
#include "game_helpers.h"
#include "playfield/track_list.h"
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

struct ScriptedKey {
  int frame; // counted from the set-up frame, 1
  int virtualKey;
  bool down;
};

// Frames 181..213: down, right, one up, then left into the own track.
// Frame 240: Enter continues. Then three trips from border to border.
const ScriptedKey LEVEL_ONE_SCRIPT[] = {
    {181, VK_DOWN, true},    {201, VK_DOWN, false},   {201, VK_RIGHT, true},
    {211, VK_RIGHT, false},  {211, VK_UP, true},      {212, VK_UP, false},
    {212, VK_LEFT, true},    {213, VK_LEFT, false},   {240, VK_RETURN, true},
    {241, VK_RETURN, false}, {242, VK_RIGHT, true},   {243, VK_RIGHT, false},
    {244, VK_DOWN, true},    {245, VK_DOWN, false},   {739, VK_RIGHT, true},
    {740, VK_RIGHT, false},  {949, VK_UP, true},      {950, VK_UP, false},
    {1639, VK_RIGHT, true},  {1640, VK_RIGHT, false}, {1819, VK_DOWN, true},
    {1820, VK_DOWN, false},
};
constexpr uint32_t SCRIPT_SEED = 42;
constexpr int CRASH_FRAME = 212;
constexpr int CONTINUE_FRAME = 240;
constexpr int LAST_CAPTURE_FRAME = 2308;

} // namespace

TEST(GamePlay, ScriptedLevelOneFromCrashToCompletion) {
  enterGame(1, SCRIPT_SEED);
  size_t next = 0;
  uint32_t captures = 0;
  uint32_t lastCaptured = 0;
  for (int frame = 2; frame <= LAST_CAPTURE_FRAME; ++frame) {
    while (next < std::size(LEVEL_ONE_SCRIPT) && LEVEL_ONE_SCRIPT[next].frame == frame) {
      headless::setKey(LEVEL_ONE_SCRIPT[next].virtualKey, LEVEL_ONE_SCRIPT[next].down);
      ++next;
    }
    headless::clearDrawLog();
    runFrames(1);
    if (frame == CRASH_FRAME) {
      ASSERT_EQ(crashed, 1);
      ASSERT_EQ(crashCause, CRASH_OWN_TRACK);
      ASSERT_EQ(lives, 4);
    }
    if (frame == CONTINUE_FRAME) {
      ASSERT_EQ(crashed, 0);
      ASSERT_EQ(trackValueCount, 0);
    }
    if (capturedCells != lastCaptured) {
      ++captures;
      lastCaptured = capturedCells;
    }
    if (frame < LAST_CAPTURE_FRAME) {
      ASSERT_EQ(levelComplete, 0) << "frame " << frame;
    }
  }
  ASSERT_EQ(levelComplete, 1);
  EXPECT_EQ(captures, 3u);
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(capturedCells, 366175u);

  // The share as the game computes it: a 32-bit float of a double quotient.
  const float share = static_cast<float>(capturedCells / 451050.0 * 100.0);
  const int32_t whole = static_cast<int32_t>(std::floor(share));
  const int32_t hundredths = static_cast<int32_t>((static_cast<double>(share) - whole) * 100.0);
  const int32_t tenThousandths =
      static_cast<int32_t>((static_cast<double>(share) - whole) * 10000.0);
  EXPECT_EQ(whole, 81);
  EXPECT_EQ(percentWhole, whole);
  EXPECT_EQ(percentHundredths, hundredths);
  EXPECT_EQ(percentTenThousandths, tenThousandths);
  const uint32_t basic =
      static_cast<uint32_t>(whole) * 10000u + static_cast<uint32_t>(tenThousandths);
  EXPECT_EQ(basicScore, basic);
  // Every frame from the countdown's end played, except the 28 frames on
  // the crash screen before Enter: ten points of time bonus each.
  const int32_t playedFrames = (LAST_CAPTURE_FRAME - 180 + 1) - (CONTINUE_FRAME - CRASH_FRAME);
  EXPECT_EQ(timeBonus, 100000 - 10 * playedFrames);
  const int32_t expectedScore = timeBonus + static_cast<int32_t>(10u * basic / 10u);
  EXPECT_EQ(levelScore, expectedScore);
  EXPECT_EQ(totalScore, static_cast<uint32_t>(expectedScore));

  // The level-complete screen of the next frame shows exactly these values.
  headless::clearDrawLog();
  runFrames(1);
  char line[128];
  EXPECT_TRUE(textWasDrawn("Level 1 completed!"));
  std::snprintf(line, sizeof line, "Captured area: %02d.%04d%%", whole, tenThousandths);
  EXPECT_TRUE(textWasDrawn(line)) << line;
  std::snprintf(line, sizeof line, "Captured area: %02d.%02d%%", whole, hundredths);
  EXPECT_TRUE(textWasDrawn(line)) << line; // the status line
  std::snprintf(line, sizeof line, "Level basic score (capt. area * 10000): %u", basic);
  EXPECT_TRUE(textWasDrawn(line)) << line;
  EXPECT_TRUE(textWasDrawn("Level basic score multiplier: 1.0"));
  std::snprintf(line, sizeof line, "Time bonus: %d", timeBonus);
  EXPECT_TRUE(textWasDrawn(line)) << line;
  std::snprintf(line, sizeof line, "Level final score (multiplied basic plus time bonus): %d",
                expectedScore);
  EXPECT_TRUE(textWasDrawn(line)) << line;
  std::snprintf(line, sizeof line, "Total score: %010d", expectedScore);
  EXPECT_TRUE(textWasDrawn(line)) << line;
  EXPECT_TRUE(textWasDrawn("Press Enter to continue to Level 2"));

  // Enter: level 2 with the same game, lives and score.
  const int32_t id = gameId;
  tapKey(VK_RETURN);
  EXPECT_EQ(level, 2u);
  EXPECT_EQ(gameId, id);
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(totalScore, static_cast<uint32_t>(expectedScore));
  EXPECT_EQ(capturedCells, 0u);
  EXPECT_EQ(levelComplete, 0);
}
