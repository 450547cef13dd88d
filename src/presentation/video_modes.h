// The display-mode table, the choice of a mode, and the mapping of the
// 1920-wide virtual layout onto the chosen back buffer.
#pragma once
#include <cstdint>

struct VideoMode {
  uint32_t width;
  uint32_t height;
  uint8_t available;   // the display lists this size (any refresh rate)
  uint8_t aspectClass; // 0 wide, 1 medium, 2 narrow
  uint8_t has60Hz;     // the display lists this size at exactly 60 Hz
};

constexpr int VIDEO_MODE_COUNT = 17;
constexpr uint8_t VIDEO_MODE_AUTOMATIC = 255;
constexpr uint8_t VIDEO_MODE_DESKTOP = 254;
constexpr int VIRTUAL_WIDTH = 1920;
constexpr int VIRTUAL_HEIGHT = 1080;

extern VideoMode videoModes[VIDEO_MODE_COUNT];
extern uint8_t videoModeIndex;
extern int desktopAspectClass;
extern int backBufferWidth;
extern int backBufferHeight;
extern float renderScale;
extern float verticalOffset;
extern int presentRefreshRate; // 60, or 0 for the display's default

// The command line as a number: every character counts as (code - 48) times
// its power of ten, nothing is rejected, the sum wraps like a 32-bit int.
int32_t parseDecimal(const char *text);
// Command line to videoModeIndex (and the desktop's aspect class when automatic).
void applyCommandLine(const char *commandLine, int desktopWidth, int desktopHeight);
int aspectClassOf(int width, int height);

void scanAdapterModes();
// The desktop's size stands in where no listed row is available.
void chooseVideoMode(int desktopWidth, int desktopHeight);
void validateVideoMode(int desktopWidth, int desktopHeight);
void computeRenderScale(int desktopWidth, int desktopHeight);
// Chooses the mode and creates the device, once more at the desktop size if
// the chosen mode fails. False when no device could be created.
bool createDevice(int desktopWidth, int desktopHeight);
