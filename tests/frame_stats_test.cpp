#include "platform/headless/headless.h"
#include "platform/input.h"
#include "shell/frame_stats.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "state/screen_state.h"
#include "test_support.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace {
struct ReportLine {
  unsigned long long frames = 0, visits = 0;
  double median = -1, p95 = -1, over = -1, perVisit = -1;
};

// The report's line of one view; frames 0 when the view has none.
ReportLine lineOf(const std::string &report, const char *view) {
  std::istringstream in(report);
  std::string line;
  ReportLine r;
  while (std::getline(in, line)) {
    char name[32];
    if (std::sscanf(line.c_str(), "%31s %llu %lf %lf %lf %llu %lf", name, &r.frames, &r.median,
                    &r.p95, &r.over, &r.visits, &r.perVisit) == 7 &&
        std::string(name) == view) {
      return r;
    }
  }
  return ReportLine{};
}
} // namespace

TEST(FrameStats, ViewFollowsTheScreenAndTheGamePhase) {
  struct Case {
    uint8_t screen, entryPending;
    int32_t countdown;
    uint8_t crash, complete;
    FrameView view;
  };
  const Case cases[] = {
      {MainMenu, 0, 0, 0, 0, VIEW_MENU},
      {TopTen, 1, 0, 0, 0, VIEW_TOP_TEN},
      {NameEntry, 0, 0, 0, 0, VIEW_NAME_ENTRY},
      {Instructions, 0, 0, 0, 0, VIEW_INSTRUCTIONS},
      {Game, 1, 0, 1, 1, VIEW_COUNTDOWN}, // the set-up frame shows the first digit
      {Game, 0, 5, 0, 0, VIEW_COUNTDOWN},
      {Game, 0, 0, 0, 0, VIEW_PLAY},
      {Game, 0, 0, 1, 0, VIEW_CRASH},
      {Game, 0, 0, 0, 1, VIEW_LEVEL_COMPLETE},
      {99, 0, 0, 0, 0, VIEW_OTHER},
  };
  for (const Case &c : cases) {
    screenState = c.screen;
    screenEntryPending = c.entryPending;
    startCountdown = c.countdown;
    crashed = c.crash;
    levelComplete = c.complete;
    EXPECT_EQ(currentFrameView(), c.view) << frameViewName(c.view);
  }
  screenState = MainMenu;
  startCountdown = 0;
  crashed = 0;
  levelComplete = 0;
}

TEST(FrameStats, MedianPercentileOverrunsAndVisits) {
  resetFrameStats();
  for (int i = 0; i < 60; ++i) {
    recordFrame(VIEW_MENU, 10000, 15000);
  }
  for (int i = 0; i < 40; ++i) {
    recordFrame(VIEW_MENU, 20000 + i, 20000);
  }
  recordFrame(VIEW_PLAY, 5000000, 5000000); // beyond the histogram: counted, not lost
  recordFrame(VIEW_MENU, 15000, 15000);     // exactly the budget is no overrun
  std::string report = frameStatsReport();
  ReportLine menu = lineOf(report, "menu");
  EXPECT_EQ(menu.frames, 101u);
  EXPECT_NEAR(menu.median, 10.0, 1e-9);
  EXPECT_NEAR(menu.p95, 20.03, 1e-9); // the 96th of 101 frames
  EXPECT_NEAR(menu.over, 39.6, 0.05);
  EXPECT_EQ(menu.visits, 2u);
  EXPECT_NEAR(menu.perVisit, (60 * 0.015 + 40 * 0.020 + 0.015) / 2, 0.006);
  ReportLine play = lineOf(report, "play");
  EXPECT_EQ(play.frames, 1u);
  EXPECT_NEAR(play.median, 1000.0, 0.01);
  EXPECT_EQ(lineOf(report, "countdown").frames, 0u);
  resetFrameStats();
}

TEST(FrameStats, RunFrameRecordsOnlyWhenAskedAndByTheViewAtItsStart) {
  startHeadless();
  resetFrameStats();
  changeScreen(TopTen);
  runFrame(); // its set-up; the key latch is released
  EXPECT_EQ(lineOf(frameStatsReport(), "top-ten").frames, 0u);
  frameStatsEnabled = 1;
  runFrame();
  pressKey(VK_ESCAPE); // this frame of the top ten leads to the menu
  runFrame();
  EXPECT_EQ(screenState, MainMenu);
  runFrame();
  frameStatsEnabled = 0;
  std::string report = frameStatsReport();
  EXPECT_EQ(lineOf(report, "top-ten").frames, 2u);
  EXPECT_EQ(lineOf(report, "menu").frames, 1u);
  // The fake clock stands still while drawing; each paced frame lasts 15 ms.
  EXPECT_NEAR(lineOf(report, "top-ten").perVisit, 0.030, 1e-9);
  resetFrameStats();
  headless::reset();
}
