// One frame and the screen dispatcher, with the pacing that keeps a frame at
// least 15 ms long (2 s in the game while Caps Lock is on).
#include "audio/audio.h"
#include "common/start_values.h"
#include "game/game_screen.h"
#include "platform/input.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "presentation/screenshots.h"
#include "replay/replay.h"
#include "screens/screens.h"
#include "screens/ticker.h"
#include "shell/frame_stats.h"
#include "shell/shell.h"

uint8_t screenshotLatch = 0;
int32_t appActive = 0;
uint32_t frameStartTime = 0;

void dispatchScreen() {
  const uint8_t screen = screenState;
  switch (screen) {
  case MainMenu:
    mainMenuFrame();
    break;
  case Game:
    gameFrame();
    break;
  case TopTen:
    topTenFrame();
    break;
  case NameEntry:
    nameEntryFrame();
    break;
  case Instructions:
    instructionsFrame();
    break;
  default:
    break;
  }
  // The ticker moves only on the menu; once a game is left, for the menu or
  // the name entry, it starts again from the right edge.
  if (screen == Game && screenState != Game) {
    resetTicker();
  }
}

uint32_t frameLength() {
  if (screenState == Game && (getKeyState(VK_CAPITAL) & 1) != 0) {
    return SLOW_FRAME_MS;
  }
  return FRAME_MS;
}

uint32_t frameSleepTime(uint32_t startMs, uint32_t nowMs, uint32_t length) {
  uint32_t elapsed = nowMs - startMs;
  return elapsed < length ? length - elapsed : 0;
}

// Ctrl+P: one screenshot per press of P; Ctrl may stay down between shots.
static void handleScreenshotKey() {
  bool pDown = keyDown('P');
  if (screenshotLatch && !pDown) {
    screenshotLatch = 0;
  }
  if (screenshotLatch) {
    return;
  }
  if (pDown && keyDown(VK_CONTROL)) {
    screenshotLatch = 1;
    if (takeScreenshot()) {
      playEffect(EFFECT_SCREENSHOT);
    }
  }
}

void runFrame() {
  if (!graphicsDeviceExists()) {
    return;
  }
  const FrameView view = currentFrameView();
  const uint64_t workStart = timeMicroseconds();
  clearBackBuffer(0xFF000000u);
  beginReplayFrame();
  dispatchScreen();
  handleScreenshotKey();
  handleVolumeKeys(screenState == Game);
  endReplayFrame();
  endKeyFrame(); // every key of this frame has been read
  presentFrame();
  const uint64_t workEnd = timeMicroseconds();
  uint32_t length = frameLength();
  uint32_t wait = frameSleepTime(frameStartTime, timeGetTime(), length);
  if (wait > 0) {
    sleepMilliseconds(wait);
  }
  frameStartTime = timeGetTime();
  if (frameStatsEnabled) {
    recordFrame(view, workEnd - workStart, timeMicroseconds() - workStart);
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    screenshotLatch, appActive, frameStartTime);
} // namespace
