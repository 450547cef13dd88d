// Frame statistics as one histogram per view: a run of any length costs the
// same memory, and the median and percentile come out exact to 10 µs.
#include "shell/frame_stats.h"
#include "state/game_state.h"
#include "state/screen_state.h"
#include <cstdio>
#include <vector>

uint8_t frameStatsEnabled = 0;

namespace {
constexpr uint32_t BIN_COUNT = FRAME_STATS_LIMIT_US / FRAME_STATS_STEP_US + 1;

struct ViewStats {
  std::vector<uint32_t> bins; // allocated on the view's first frame
  uint64_t frames = 0;
  uint64_t overBudget = 0;
  uint64_t visits = 0;
  uint64_t wallUs = 0;
};

ViewStats stats[VIEW_COUNT];
FrameView lastView = VIEW_COUNT;

// Work in ms of the frame at rank ceil(share * frames), to 10 µs below.
double percentile(const ViewStats &s, double share) {
  uint64_t rank = static_cast<uint64_t>(share * static_cast<double>(s.frames) + 0.999999);
  rank = rank < 1 ? 1 : rank;
  uint64_t seen = 0;
  for (uint32_t b = 0; b < BIN_COUNT; ++b) {
    seen += s.bins[b];
    if (seen >= rank) {
      return b * FRAME_STATS_STEP_US / 1000.0;
    }
  }
  return FRAME_STATS_LIMIT_US / 1000.0;
}
} // namespace

FrameView currentFrameView() {
  switch (screenState) {
  case MainMenu:
    return VIEW_MENU;
  case Instructions:
    return VIEW_INSTRUCTIONS;
  case TopTen:
    return VIEW_TOP_TEN;
  case NameEntry:
    return VIEW_NAME_ENTRY;
  case Game:
    // The set-up frame of a level already shows the countdown's first digit.
    if (screenEntryPending != 0 || startCountdown > 0) {
      return VIEW_COUNTDOWN;
    }
    if (crashed != 0) {
      return VIEW_CRASH;
    }
    return levelComplete != 0 ? VIEW_LEVEL_COMPLETE : VIEW_PLAY;
  default:
    return VIEW_OTHER;
  }
}

const char *frameViewName(FrameView view) {
  static const char *const NAMES[VIEW_COUNT] = {"menu",       "instructions",   "top-ten",
                                                "name-entry", "countdown",      "play",
                                                "crash",      "level-complete", "other"};
  return view < VIEW_COUNT ? NAMES[view] : "other";
}

void recordFrame(FrameView view, uint64_t workUs, uint64_t wallUs) {
  if (view >= VIEW_COUNT) {
    return;
  }
  ViewStats &s = stats[view];
  if (s.bins.empty()) {
    s.bins.assign(BIN_COUNT, 0);
  }
  uint64_t bin = workUs / FRAME_STATS_STEP_US;
  s.bins[bin < BIN_COUNT ? bin : BIN_COUNT - 1] += 1;
  s.frames += 1;
  s.overBudget += workUs > FRAME_BUDGET_US ? 1 : 0;
  s.visits += view != lastView ? 1 : 0;
  s.wallUs += wallUs;
  lastView = view;
}

void resetFrameStats() {
  for (ViewStats &s : stats) {
    s = ViewStats{};
  }
  lastView = VIEW_COUNT;
}

std::string frameStatsReport() {
  std::string out =
      "frame stats: work from the start of a frame to the end of present, "
      "without the pacing sleep\n"
      "view             frames  median_ms  p95_ms  over_15ms_%  visits  s_per_visit\n";
  char line[160];
  for (int v = 0; v < VIEW_COUNT; ++v) {
    const ViewStats &s = stats[v];
    if (s.frames == 0) {
      continue;
    }
    std::snprintf(
        line, sizeof line, "%-15s %7llu  %9.2f  %6.2f  %11.1f  %6llu  %11.2f\n",
        frameViewName(static_cast<FrameView>(v)), static_cast<unsigned long long>(s.frames),
        percentile(s, 0.5), percentile(s, 0.95), 100.0 * s.overBudget / s.frames,
        static_cast<unsigned long long>(s.visits), s.wallUs / 1e6 / static_cast<double>(s.visits));
    out += line;
  }
  return out;
}
