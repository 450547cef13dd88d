// Start-up, the loop and the shutdown. Each start-up step relies on the ones
// before it: the window before the device, the device before the pictures,
// the generator seeded before the top ten's defaults draw from it.
#include "audio/audio.h"
#include "common/files.h"
#include "common/notices.h"
#include "common/random.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "platform/sprites.h"
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "playfield/grid.h"
#include "playfield/track_list.h"
#include "presentation/assets.h"
#include "presentation/screenshots.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "replay/replay.h"
#include "replay/replay_folder.h"
#include "screens/ticker.h"
#include "shell/frame_stats.h"
#include "shell/session.h"
#include "shell/shell.h"
#include "state/reset.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int desktopWidth = 0;
int desktopHeight = 0;

// A replay's run leaves the player's files as they were: its top ten and
// settings came from the replay.
static void shutdownProgram(bool writePlayerFiles) {
  finishRecording();
  freePlayfield();
  freeTrackList();
  freeTicker();
  releaseAssets();
  if (writePlayerFiles) {
    writeTopTenFile();
    writeSettings();
  }
  shutdownAudio();
  releaseFonts();
  releaseSprite(textSprite);
  releaseSprite(letterSprite);
  textSprite = 0;
  letterSprite = 0;
  releaseGraphicsDevice();
  releaseSingleInstance();
  destroyMainWindow();
}

int startDeviceAndSprites(const char *commandLine) {
  desktopSize(&desktopWidth, &desktopHeight);
  applyCommandLine(commandLine, desktopWidth, desktopHeight);
  if (!createDevice(desktopWidth, desktopHeight)) {
    showInitError("0xF0000000");
    return 1;
  }
  if (textSprite == 0) {
    textSprite = createSprite();
  }
  if (textSprite == 0) {
    showInitError("0xF0010000");
    return 1;
  }
  if (letterSprite == 0) {
    letterSprite = createSprite();
  }
  if (letterSprite == 0) {
    showInitError("0xF0020000");
    return 1;
  }
  return 0;
}

void setUpSubsystems(bool readTopTen) {
  loadAssets();
  if (!allocatePlayfield() || !allocateTrackList()) {
    reportOnce("out of memory for the playfield");
  }
  buildTicker();
  if (readTopTen) {
    loadTopTen();
  }
  resetTicker();
  findFreeScreenshotNumber();
}

// The displays the session names, as the player set them: ":0", "wayland-0"
// or both, so that a message says which one failed.
static std::string namedDisplays() {
  const char *x = std::getenv("DISPLAY");
  const char *wayland = std::getenv("WAYLAND_DISPLAY");
  std::string names = x != nullptr ? x : "";
  if (wayland != nullptr && wayland[0] != '\0') {
    names += names.empty() ? wayland : std::string(" nor ") + wayland;
  }
  return names;
}

namespace {
// What the loop needs between its passes: whether a replay is watched, and
// the exit code the end of the program leaves.
bool watchingReplay = false;
int programExitCode = 0;
// The settings as the file last got them (or as read at the start).
int32_t settingsStored[SETTINGS_VALUE_COUNT] = {};

// Where the program's end may never come (a page closed), a volume or tune
// changed is written at once, so a reload right after keeps it. Tried once
// per change: a file left alone this run stays alone without a retry a frame.
void storeChangedSettings() {
  int32_t now[SETTINGS_VALUE_COUNT];
  currentSettings(now);
  if (std::equal(now, now + SETTINGS_VALUE_COUNT, settingsStored)) {
    return;
  }
  std::copy(now, now + SETTINGS_VALUE_COUNT, settingsStored);
  writeSettings();
}

// One pass of the loop: a window event, else a frame when one is due.
bool loopPass() {
  WindowEvent event = pollWindowEvent();
  if (event != WindowEvent::None) {
    handleWindowEvent(event);
  } else if (appActive) {
    if (frameDue()) {
      runFrame();
      if (!watchingReplay && endMayBeCutShort()) {
        storeChangedSettings();
      }
    }
  } else if (!loopPacedByDisplay()) {
    sleepMilliseconds(100);
  }
  // Watching ends with the replay: its game screen was all there was.
  if (watchingReplay && playbackFinished()) {
    postQuitMessage();
  }
  return !quitPosted;
}

void endProgram() {
  shutdownProgram(!watchingReplay);
  if (frameStatsEnabled) {
    std::fputs(frameStatsReport().c_str(), stderr);
  }
  recordingEnabled = 0;
  programExitCode = 0;
  if (watchingReplay) {
    stopPlayback();
    std::fprintf(stderr, "pelta: %s\n", playbackReport().c_str());
    programExitCode = playbackExitCode();
  }
}
} // namespace

int runPelta(const char *commandLine, const Replay *replay) {
  // Before anything else: a logout during start-up still ends in the normal
  // shutdown, whatever becomes of the guard.
  installQuitHandlers();
  // Watching a replay writes nothing, so it needs no guard and is never
  // refused by a copy that plays.
  const bool guarded = replay == nullptr;
  const std::string guard = instanceGuardPath(static_cast<uint32_t>(::getuid()),
                                              std::getenv("XDG_RUNTIME_DIR"), userRoot());
  if (guarded && !acquireSingleInstance(guard.c_str())) {
    // Not an error, but a start that shows nothing would look like a failure.
    std::fputs("pelta: already running; its window was raised\n", stderr);
    return 0;
  }
  // What a killed run left half-written is of no use to anyone now.
  for (const char *folder : {"data", "screenshots", replayFolder()}) {
    removeStaleTemporaryFiles(folder, calendarTimeSeconds());
  }
  // The same start the simulator and the tests make; then the clock's seed.
  resetGameState();
  gameSrand(calendarTimeSeconds());
  setWindowClass(APP_ID);
  if (!createMainWindow(PROGRAM_NAME, iconPath().c_str())) {
    std::fprintf(stderr, "pelta: cannot open display %s\n", namedDisplays().c_str());
    releaseSingleInstance();
    return EXIT_WINDOW_FAILED;
  }
  if (drawsNowhere(videoDriverName())) {
    std::fprintf(stderr, "pelta: cannot open display %s (SDL could only open its %s video driver)\n",
                 namedDisplays().c_str(), videoDriverName());
    destroyMainWindow();
    releaseSingleInstance();
    return 1;
  }
  placeOnDisplay();
  int failure = startDeviceAndSprites(commandLine);
  if (failure != 0) {
    releaseSingleInstance();
    return failure;
  }
  readSettings();
  currentSettings(settingsStored);
  initAudio();
  setUpSubsystems(replay == nullptr);
  applyRenderScale(renderScale);
  // Once, where a player started from a desktop menu sees it: the scores or
  // settings that this run cannot keep, and why.
  if (const std::string notices = takePlayerNotices(); guarded && !notices.empty()) {
    showMessageBox(PROGRAM_NAME, notices.c_str());
  }
  if (replay != nullptr) {
    startPlayback(*replay);
  } else {
    prepareMusic(MENU_MUSIC); // the tune of the first screen, the main menu
  }
  watchingReplay = replay != nullptr;
  // Shown once everything is loaded: the first frame follows at once,
  // rather than a black window while the pictures load.
  showGameWindow();
  recordingEnabled = replay == nullptr ? 1 : 0;

  quitPosted = 0;
  // A browser runs the passes from its own loop and returns at once; the
  // program then ends in endProgram, later.
  runMainLoop(loopPass, endProgram);
  return programExitCode;
}
