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
  releaseGraphicsDevice();
  releaseSingleInstance();
  destroyMainWindow();
}

int runPelta(const char *commandLine) {
  if (!acquireSingleInstance(PROGRAM_NAME)) {
    return 0;
  }
  gameSrand(calendarTimeSeconds());
  if (!createMainWindow(PROGRAM_NAME)) {
    releaseSingleInstance();
    return EXIT_WINDOW_FAILED;
  }
  desktopSize(&desktopWidth, &desktopHeight);
  applyCommandLine(commandLine);

  if (!createDevice()) {
    showInitError("0xF0000000");
    releaseSingleInstance();
    return 1;
  }
  textSprite = createSprite();
  if (textSprite == 0) {
    showInitError("0xF0010000");
    releaseSingleInstance();
    return 1;
  }
  letterSprite = createSprite();
  if (letterSprite == 0) {
    showInitError("0xF0020000");
    releaseSingleInstance();
    return 1;
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
