// The simulator's command line, key script, state lines and run loop.
#include "sim.h"
#include "audio/audio.h"
#include "common/files.h"
#include "persistence/file_patch.h"
#include "common/random.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/timer.h"
#include "playfield/enemies.h"
#include "playfield/items.h"
#include "playfield/track_list.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "replay/replay.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "state/reset.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace {

// The game's own reports (a missing picture in the private folder) would only
// be noise here; the state lines are the whole output of a run.
struct QuietStandardError {
  int saved = -1;
  QuietStandardError() {
    std::fflush(stderr);
    saved = dup(2);
    std::FILE *null = std::fopen("/dev/null", "w");
    if (null != nullptr) {
      dup2(fileno(null), 2);
      std::fclose(null);
    }
  }
  ~QuietStandardError() {
    std::fflush(stderr);
    if (saved >= 0) {
      dup2(saved, 2);
      close(saved);
    }
  }
};

// A private folder for the files a run may write (the saved game on S), so a
// run neither reads nor changes the player's own data; under $TMPDIR if set.
std::string makePrivateRoot() {
  const char *tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/pelta-sim-XXXXXX";
  const char *dir = mkdtemp(pattern.data());
  return dir != nullptr ? dir : "";
}

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal) { stopSignal = signal; }

// While a run holds its private folder, SIGINT, SIGTERM, SIGHUP and SIGPIPE
// (its reader went away) only ask the run to stop, so the folder is removed;
// the signal is then delivered again with its old handling. A signal that
// was ignored when the run began stays ignored.
struct StopSignals {
  static constexpr int SIGNALS[4] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
  struct sigaction old[4];
  StopSignals() {
    stopSignal = 0;
    for (int i = 0; i < 4; ++i) {
      sigaction(SIGNALS[i], nullptr, &old[i]);
      if (old[i].sa_handler == SIG_IGN) {
        continue;
      }
      struct sigaction sa {};
      sa.sa_handler = onStopSignal; // no SA_RESTART: a blocked write returns
      sigemptyset(&sa.sa_mask);
      sigaction(SIGNALS[i], &sa, nullptr);
    }
  }
  ~StopSignals() {
    for (int i = 0; i < 4; ++i) {
      sigaction(SIGNALS[i], &old[i], nullptr);
    }
  }
};

// A replay sets the game up as it was recorded; otherwise the seed and level
// of the options start a new game.
void startHeadlessGame(const SimOptions &options, const Replay *replay) {
  resetGameState();
  headless::reset();
  startDeviceAndSprites("");
  setUpSubsystems();
  applyRenderScale(renderScale);
  audioReady = 0;
  if (replay != nullptr) {
    startPlayback(*replay);
    appActive = 1;
    frameStartTime = timeGetTime();
    return;
  }
  // What the main menu prepares for a new game, at the chosen level.
  prepareNewGame(options.level);
  gameSrand(options.seed);
  screenState = Game;
  screenEntryPending = 1;
  keyLatch = 0;
  appActive = 1;
  frameStartTime = timeGetTime();
}

} // namespace

bool parseSimArguments(const std::vector<std::string> &args, SimOptions &options,
                       std::string &error) {
  bool seedGiven = false;
  std::vector<std::string> seen;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &name = args[i];
    if (name == "--help" || name == "--version") {
      (name == "--help" ? options.help : options.version) = true;
      continue;
    }
    if (name != "--seed" && name != "--level" && name != "--frames" && name != "--keys" &&
        name != "--every" && name != "--replay") {
      error = "unknown argument \"" + name + "\"";
      return false;
    }
    for (const std::string &s : seen) {
      if (s == name) {
        error = name + " given twice";
        return false;
      }
    }
    seen.push_back(name);
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return false;
    }
    const std::string &value = args[++i];
    uint64_t v = 0;
    if (name == "--seed") {
      if (!parseScriptNumber(value, 0, UINT32_MAX, v)) {
        error = "--seed must be a number from 0 to 4294967295, not \"" + value + "\"";
        return false;
      }
      options.seed = static_cast<uint32_t>(v);
      seedGiven = true;
    } else if (name == "--level") {
      if (!parseScriptNumber(value, 1, MAX_LEVEL, v)) {
        error = "--level must be a number from 1 to 200, not \"" + value + "\"";
        return false;
      }
      options.level = static_cast<uint32_t>(v);
    } else if (name == "--frames") {
      if (!parseScriptNumber(value, 1, UINT32_MAX, v)) {
        error = "--frames must be a number from 1 to 4294967295, not \"" + value + "\"";
        return false;
      }
      options.frames = v;
    } else if (name == "--every") {
      if (!parseScriptNumber(value, 1, UINT32_MAX, v)) {
        error = "--every must be a number from 1 to 4294967295, not \"" + value + "\"";
        return false;
      }
      options.every = v;
    } else if (name == "--keys") {
      if (value.empty()) {
        error = "--keys needs a file name";
        return false;
      }
      options.keysPath = value;
    } else {
      if (value.empty()) {
        error = "--replay needs a file name";
        return false;
      }
      options.replayPath = value;
    }
  }
  // A replay brings its own start, length and keys.
  if (!options.replayPath.empty()) {
    for (const std::string &s : seen) {
      if (s != "--replay" && s != "--every") {
        error = "--replay takes no " + s;
        return false;
      }
    }
    return true;
  }
  if (!seedGiven && !options.help && !options.version) {
    error = "--seed is required";
    return false;
  }
  return true;
}

std::string simStateLine(uint64_t frame) {
  std::ostringstream s;
  s << "{\"frame\":" << frame << ",\"screen\":" << int(screenState) << ",\"level\":" << level
    << ",\"lives\":" << lives << ",\"totalScore\":" << totalScore << ",\"timeBonus\":" << timeBonus
    << ",\"startCountdown\":" << startCountdown << ",\"levelComplete\":" << int(levelComplete)
    << ",\"crashed\":" << int(crashed) << ",\"crashHandled\":" << int(crashHandled)
    << ",\"crashCause\":" << crashCause << ",\"crashFrames\":" << crashFrames
    << ",\"capturedCells\":" << capturedCells << ",\"percentWhole\":" << percentWhole
    << ",\"percentHundredths\":" << percentHundredths << ",\"trackShielded\":" << int(trackShielded)
    << ",\"enemiesSlowed\":" << int(enemiesSlowed) << ",\"slowFrameToggle\":" << slowFrameToggle;
  s << ",\"player\":[" << playerBox.x << ',' << playerBox.y << ',' << playerDx << ',' << playerDy
    << ',' << int(playerMoving) << ',' << playerGround << ',' << previousGround << ']';
  s << ",\"white\":[";
  const uint32_t whites = whiteEnemiesInPlay();
  for (uint32_t i = 0; i < whites; ++i) {
    const Enemy &e = whiteEnemies[i];
    s << (i == 0 ? "" : ",") << '[' << e.box.x << ',' << e.box.y << ',' << e.direction << ']';
  }
  s << "],\"black\":[";
  const uint32_t blacks = blackEnemyCount < MAX_BLACK_ENEMIES ? blackEnemyCount : MAX_BLACK_ENEMIES;
  for (uint32_t i = 0; i < blacks; ++i) {
    const Enemy &e = blackEnemies[i];
    s << (i == 0 ? "" : ",") << '[' << e.box.x << ',' << e.box.y << ',' << e.direction << ','
      << int(e.edgeNudged) << ']';
  }
  s << "],\"items\":[";
  for (int i = 0; i < BONUS_ITEM_COUNT; ++i) {
    const BonusItem &item = bonusItems[i];
    s << (i == 0 ? "" : ",") << '[' << int(item.active) << ',' << item.kind << ',' << item.box.x
      << ',' << item.box.y << ']';
  }
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", crc32(playfield, GRID_BYTES));
  s << "],\"trackCells\":" << trackValueCount / 2 << ",\"gridCrc\":\"" << crc << "\"}";
  return s.str();
}

namespace {
// One run from start-up to its last frame, with the files it may write in a
// private folder that is removed at its end.
void simulateInPrivateFolder(const SimOptions &options, const std::vector<KeyEvent> &events,
                             const Replay *replay, std::ostream &out) {
  const std::string root = makePrivateRoot();
  setUserRoot(root.empty() ? "/nonexistent" : root);
  stopLeavingFilesAlone(); // a fresh start of its own, whatever the process did before
  setDataFolder(userRoot() + "/data");
  makeDirectory("data");
  {
    QuietStandardError quiet;
    startHeadlessGame(options, replay);
    size_t next = 0;
    for (uint64_t frame = 1; frame <= options.frames; ++frame) {
      while (next < events.size() && events[next].frame == frame) {
        headless::setKey(events[next].virtualKey, events[next].down);
        ++next;
      }
      runFrame();
      headless::clearDrawLog();
      const bool handedOver = screenState != Game;
      if (frame % options.every == 0 || frame == options.frames || handedOver) {
        out << simStateLine(frame) << '\n';
      }
      if (handedOver || stopSignal != 0) {
        break;
      }
    }
    out.flush();
  }
  if (!root.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
}
} // namespace

void runSimulation(const SimOptions &options, const std::vector<KeyEvent> &events,
                   std::ostream &out, const Replay *replay) {
  int stoppedBy = 0;
  {
    StopSignals signals;
    simulateInPrivateFolder(options, events, replay, out);
    stoppedBy = stopSignal;
  }
  if (stoppedBy != 0) {
    std::raise(stoppedBy);
  }
}

std::string simUsageText() {
  return "Usage: pelta-sim --seed S [--level L] [--frames N] [--keys FILE] [--every K]\n"
         "       pelta-sim --replay FILE [--every K]\n"
         "Plays the game screen from a seed and a key script, or a recorded game, without\n"
         "a window or sound, and prints the game state as one JSON line per frame. It\n"
         "reads and writes no player files.\n"
         "\n"
         "  --seed S       the seed of the run, 0 to 4294967295 (required without --replay)\n"
         "  --level L      the level a new game starts at, 1 to 200 (default 1)\n"
         "  --frames N     frames to play (default 1000)\n"
         "  --keys FILE    the key script, - for standard input (default: no key pressed)\n"
         "  --every K      print every K-th frame and always the last one (default 1)\n"
         "  --replay FILE  play a recorded game and check it against its recording:\n"
         "                 exit 0 when it matches, 3 when it differs\n"
         "  --help         show this help and exit\n"
         "  --version      show the version and exit\n"
         "\n"
         "See pelta-sim(6).\n";
}

int simMain(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
            std::ostream &err) {
  SimOptions options;
  std::string error;
  if (!parseSimArguments(args, options, error)) {
    err << "pelta-sim: " << error << '\n';
    return SIM_USAGE_ERROR;
  }
  if (options.help || options.version) {
    out << (options.help ? simUsageText() : versionText("pelta-sim"));
    return 0;
  }
  if (!options.replayPath.empty()) {
    Replay replay;
    if (!readReplayFile(options.replayPath, replay, error)) {
      err << "pelta-sim: " << options.replayPath << ": " << error << '\n';
      return SIM_USAGE_ERROR;
    }
    options.frames = replay.end.frame;
    runSimulation(options, {}, out, &replay);
    err << "pelta-sim: " << playbackReport() << '\n';
    return playbackExitCode();
  }
  std::vector<KeyEvent> events;
  if (!options.keysPath.empty()) {
    bool parsed = false;
    if (options.keysPath == "-") {
      parsed = parseKeyScript(in, events, error);
    } else {
      std::error_code ec;
      std::ifstream file(options.keysPath);
      if (!file || std::filesystem::is_directory(options.keysPath, ec)) {
        err << "pelta-sim: cannot read the key script \"" << options.keysPath << "\"\n";
        return SIM_USAGE_ERROR;
      }
      parsed = parseKeyScript(file, events, error);
    }
    if (!parsed) {
      err << "pelta-sim: " << options.keysPath << ": " << error << '\n';
      return SIM_USAGE_ERROR;
    }
  }
  runSimulation(options, events, out);
  return 0;
}
