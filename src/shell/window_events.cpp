// What the window procedure did: activation pauses and resumes the sound and
// recovers the device; close, Pause and signals end the program; Alt+Enter
// switches between the full screen and a window.
#include "audio/audio.h"
#include "common/format.h"
#include "platform/system.h"
#include "platform/video.h"
#include "shell/shell.h"
#include <cstdio>

void handleWindowEvent(WindowEvent event) {
  switch (event) {
  case WindowEvent::Quit:
  case WindowEvent::PauseKey:
    postQuitMessage();
    break;
  case WindowEvent::Activated:
    appActive = 1;
    if (audioReady) {
      resumeAudio();
      raiseMainWindow();
    }
    recoverGraphicsDevice();
    break;
  case WindowEvent::Deactivated:
    appActive = 0;
    if (audioReady) {
      pauseAudio();
    }
    break;
  case WindowEvent::RaiseRequest:
    raiseMainWindow();
    // The desktop may only flash the entry instead (focus-stealing rules).
    std::fprintf(stderr, "pelta: a second start asked for this window: asked the %s desktop to "
                 "bring it forward\n", videoDriverName());
    break;
  case WindowEvent::ToggleWindow:
    playingInWindow = !playingInWindow;
    showMainWindow(playingInWindow, windowedWidth, windowedHeight);
    break;
  case WindowEvent::None:
    break;
  }
}

void showInitError(const char *code) {
  char text[128];
  formatInto(text, sizeof text, "Direct3D9 initialization failed. Error code %s", {code});
  destroyMainWindow();
  showMessageBox("Error", text);
}
