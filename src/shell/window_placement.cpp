// Where the window goes: the display (asked for, else the one holding the
// mouse pointer), and the size of the window when the game plays in one.
#include "platform/video.h"
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include <cstdio>

bool playingInWindow = false;
int windowedWidth = 1280;
int windowedHeight = 720;

int chooseDisplay(int requested, int count, int pointerDisplay) {
  if (requested >= 0) {
    return requested < count ? requested : 0;
  }
  return pointerDisplay >= 0 && pointerDisplay < count ? pointerDisplay : 0;
}

void windowedSize(int modeWidth, int modeHeight, int desktopW, int desktopH, int *width,
                  int *height) {
  if (modeWidth < desktopW && modeHeight < desktopH) {
    *width = modeWidth;
    *height = modeHeight;
  } else if (1280 < desktopW && 720 < desktopH) {
    *width = 1280;
    *height = 720;
  } else {
    // A small desktop: the widest 16:9 window within three quarters of it,
    // so the window's frame and the desktop around it stay in sight.
    *width = desktopW * 3 / 4;
    *height = *width * 9 / 16;
    if (*height > desktopH * 3 / 4) {
      *height = desktopH * 3 / 4;
      *width = *height * 16 / 9;
    }
  }
}

void placeOnDisplay() {
  const int count = displayCount();
  if (requestedDisplay >= count) {
    std::fprintf(stderr, "pelta: there is no display %d (%d found); playing on display 0\n",
                 requestedDisplay, count);
  }
  selectDisplay(chooseDisplay(requestedDisplay, count, displayUnderPointer()));
}

void showGameWindow() {
  windowedSize(backBufferWidth, backBufferHeight, desktopWidth, desktopHeight, &windowedWidth,
               &windowedHeight);
  playingInWindow = startInWindow;
  showMainWindow(playingInWindow, windowedWidth, windowedHeight);
  // The window just shown counts as the active one until the desktop first
  // says it lost the focus: some compositors never give a new window the
  // focus (KWin on Wayland without an activation token), and waiting for it
  // left the window empty. Focus loss still stops the frames and the sound.
  appActive = 1;
}
