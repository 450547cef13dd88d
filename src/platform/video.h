// The window and the graphics device: one window, covering a display or in a
// window of its own, a back buffer of the chosen mode's size, frames
// presented with vertical sync.
#pragma once
#include <cstdint>

struct DisplayModeInfo {
  int width;
  int height;
  int refreshRate; // Hz, 0 when unknown
};

// The window's class (X11) and app id (Wayland), by which the desktop finds
// its menu entry and icon; set before createMainWindow.
void setWindowClass(const char *appId);
// Starts the video (and the gamepads) and creates the window, hidden until
// showMainWindow, cursor hidden over it, with the picture at iconPath as its
// icon (none when it cannot be loaded or is "").
bool createMainWindow(const char *title, const char *iconPath);
// The displays once the video runs: how many (at least 1), the one holding
// the mouse pointer (-1 when unknown), and the one the game plays on, whose
// desktop desktopSize and listDisplayModes report (display 0 until chosen).
int displayCount();
int displayUnderPointer();
void selectDisplay(int index);
// Shows the window on the selected display and gives it the keyboard:
// covering the display, or as a resizable window centred on it. The window
// is windowWidth x windowHeight the first time; after a spell in the full
// screen it comes back at the size it had.
void showMainWindow(bool inWindow, int windowWidth, int windowHeight);
// The name of the video driver the window opened on ("x11", "wayland", ...;
// "offscreen" and "dummy" draw where nobody sees); "" before the window.
const char *videoDriverName();
void destroyMainWindow();
void desktopSize(int *width, int *height);
// Fills up to `capacity` modes of the display; returns how many there are.
int listDisplayModes(DisplayModeInfo *modes, int capacity);
// Creates the device with a back buffer of this size; refreshRate 0 = default.
bool createGraphicsDevice(int backBufferWidth, int backBufferHeight, int refreshRate);
void releaseGraphicsDevice();
bool graphicsDeviceExists();
// Restores the window from minimised and brings it to the front.
void raiseMainWindow();
// After reactivation: true when the device had to be rebuilt and was.
bool recoverGraphicsDevice();

void clearBackBuffer(uint32_t argb);
void presentFrame();
// Copies the finished back buffer (A8R8G8B8 rows, width x height) into pixels.
bool readBackBuffer(uint32_t *pixels, int width, int height);
