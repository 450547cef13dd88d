// Start-up, the loop and the shutdown, in the designed order.
#include "audio/audio.h"
#include "common/random.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "platform/sprites.h"
#include "platform/system.h"
#include "platform/timer.h"
#include "platform/video.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include <cstdio>

int desktopWidth = 0;
int desktopHeight = 0;

static void shutdownProgram() {
  releaseAssets();
  writeTopTenFile();
  writeSettings();
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
  applyCommandLine(commandLine);
  if (!createDevice()) {
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

int runPelta(const char *commandLine) {
  if (!acquireSingleInstance(PROGRAM_NAME)) {
    // Not an error, but a start that shows nothing would look like a failure.
    std::fputs("pelta: already running; its window was raised\n", stderr);
    return 0;
  }
  gameSrand(calendarTimeSeconds());
  if (!createMainWindow(PROGRAM_NAME)) {
    releaseSingleInstance();
    return EXIT_WINDOW_FAILED;
  }
  int failure = startDeviceAndSprites(commandLine);
  if (failure != 0) {
    releaseSingleInstance();
    return failure;
  }
  readSettings();
  initAudio();
  loadAssets();
  applyRenderScale(renderScale);

  quitPosted = 0;
  while (!quitPosted) {
    WindowEvent event = pollWindowEvent();
    if (event != WindowEvent::None) {
      handleWindowEvent(event);
    } else if (appActive) {
      runFrame();
    } else {
      sleepMilliseconds(100);
    }
  }
  shutdownProgram();
  return 0;
}
