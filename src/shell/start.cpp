// The process before the game: what the arguments ask for, whether there is
// a display, and where the data and the player's files are.
#include "replay/replay_file.h"
#include "shell/command_line.h"
#include "shell/folders.h"
#include "shell/frame_stats.h"
#include "shell/session.h"
#include "shell/shell.h"
#include <cstdio>
#include <cstdlib>

bool startInWindow = false;
int requestedDisplay = -1;

int peltaMain(int argc, const char *const *argv) {
  const StartOptions options = parseStartOptions(argc, argv);
  if (!options.error.empty()) {
    std::fprintf(stderr, "pelta: %s\n%s", options.error.c_str(), usageText().c_str());
    return EXIT_USAGE;
  }
  if (options.help || options.version) {
    std::fputs((options.help ? usageText() : versionText("pelta")).c_str(), stdout);
    return 0;
  }
  // A damaged replay is refused like a bad argument, before anything starts.
  Replay replay;
  std::string error;
  if (!options.replayFile.empty() && !readReplayFile(options.replayFile, replay, error)) {
    std::fprintf(stderr, "pelta: %s: %s\n", options.replayFile.c_str(), error.c_str());
    return EXIT_USAGE;
  }
  startInWindow = options.window;
  requestedDisplay = options.display;
  frameStatsEnabled = options.frameStats;
  // Without a display SDL would fall back to drawing into memory, and the
  // game would run unseen until killed.
  if (!displayNamed(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"))) {
    std::fputs("pelta: no display to play on: neither DISPLAY nor WAYLAND_DISPLAY is set\n",
               stderr);
    return 1;
  }
  const int failure = setUpFolders(options);
  if (failure != 0) {
    return failure;
  }
  return runPelta(options.row.c_str(), options.replayFile.empty() ? nullptr : &replay);
}
