// --frame-stats: what each frame's work cost, per screen (and per phase of
// the game screen), reported on stderr at exit.
#pragma once
#include <cstdint>
#include <string>

// What a frame showed, by the screen and the game's phase at its start.
enum FrameView : uint8_t {
  VIEW_MENU,
  VIEW_INSTRUCTIONS,
  VIEW_TOP_TEN,
  VIEW_NAME_ENTRY,
  VIEW_COUNTDOWN,
  VIEW_PLAY,
  VIEW_CRASH,
  VIEW_LEVEL_COMPLETE,
  VIEW_OTHER,
  VIEW_COUNT
};

// Work times are kept in 10 µs steps up to this; longer frames count as this.
constexpr uint32_t FRAME_STATS_LIMIT_US = 1000000;
constexpr uint32_t FRAME_STATS_STEP_US = 10;
// A frame whose work takes longer than this has no time left to sleep.
constexpr uint32_t FRAME_BUDGET_US = 15000;

extern uint8_t frameStatsEnabled;

FrameView currentFrameView();
const char *frameViewName(FrameView view);
// One frame: its work (start to end of present) and its whole length with
// the pacing sleep.
void recordFrame(FrameView view, uint64_t workUs, uint64_t wallUs);
void resetFrameStats();
// Per view with frames: frames, median and 95th percentile of the work in
// ms, the share over the 15 ms budget, visits and seconds per visit.
std::string frameStatsReport();
