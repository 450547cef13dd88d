// Mode choice and render scale: pure functions over the mode table so they can
// be tested with made-up display lists.
#include "presentation/video_modes.h"
#include "platform/video.h"
#include <cmath>

VideoMode videoModes[VIDEO_MODE_COUNT] = {
    {800, 600, 0, 2, 0},   {1024, 768, 0, 2, 0},  {1280, 720, 0, 0, 0},
    {1280, 800, 0, 1, 0},  {1280, 960, 0, 2, 0},  {1280, 1024, 0, 2, 0},
    {1360, 768, 0, 0, 0},  {1360, 1024, 0, 2, 0}, {1366, 768, 0, 0, 0},
    {1440, 900, 0, 1, 0},  {1440, 960, 0, 1, 0},  {1600, 900, 0, 0, 0},
    {1600, 1200, 0, 2, 0}, {1680, 1050, 0, 1, 0}, {1680, 1200, 0, 2, 0},
    {1920, 1080, 0, 0, 0}, {1920, 1200, 0, 1, 0},
};
uint8_t videoModeIndex = VIDEO_MODE_AUTOMATIC;
int desktopAspectClass = 0;
int backBufferWidth = 1920;
int backBufferHeight = 1080;
float renderScale = 1.0f;
float verticalOffset = 60.0f;
int presentRefreshRate = 0;

int32_t parseDecimal(const char *text) {
  // Each digit times its power of ten, summed in 32 bits: Horner's rule gives
  // the same sum modulo 2^32 in one pass over the text.
  uint32_t sum = 0;
  for (const char *p = text; *p != '\0'; ++p) {
    int32_t digit = static_cast<int32_t>(static_cast<signed char>(*p)) - 48;
    sum = sum * 10u + static_cast<uint32_t>(digit);
  }
  return static_cast<int32_t>(sum);
}

int aspectClassOf(int width, int height) {
  // The ratio is a 32-bit float, the bounds exact decimals (compared in
  // double): 1.76f lies below 1.76, so a ratio that rounds to it is medium.
  float r = static_cast<float>(width) / static_cast<float>(height);
  if (static_cast<double>(r) < 1.45) {
    return 2;
  }
  return static_cast<double>(r) < 1.76 ? 1 : 0;
}

void applyCommandLine(const char *commandLine, int desktopWidth, int desktopHeight) {
  if (commandLine == nullptr || commandLine[0] == '\0') {
    videoModeIndex = VIDEO_MODE_AUTOMATIC;
  } else {
    uint32_t value = static_cast<uint32_t>(parseDecimal(commandLine));
    videoModeIndex = value <= 16 ? static_cast<uint8_t>(value) : VIDEO_MODE_AUTOMATIC;
  }
  // With an explicit row the desktop's class stays 0, so an unavailable row
  // falls back to the wide rows first, whatever the desktop's shape. Kept on
  // purpose: a row named on the command line always falls back the same way.
  if (videoModeIndex == VIDEO_MODE_AUTOMATIC) {
    desktopAspectClass = aspectClassOf(desktopWidth, desktopHeight);
  }
}

void scanAdapterModes() {
  for (auto &m : videoModes) {
    m.available = 0;
    m.has60Hz = 0;
  }
  DisplayModeInfo modes[256];
  int n = listDisplayModes(modes, 256);
  if (n > 256) {
    n = 256;
  }
  for (int i = 0; i < n; ++i) {
    for (auto &m : videoModes) {
      if (static_cast<int>(m.width) == modes[i].width &&
          static_cast<int>(m.height) == modes[i].height) {
        m.available = 1;
        if (modes[i].refreshRate == 60) {
          m.has60Hz = 1;
        }
      }
    }
  }
}

void chooseVideoMode(int desktopWidth, int desktopHeight) {
  if (videoModeIndex != VIDEO_MODE_AUTOMATIC) {
    return;
  }
  if (videoModes[16].available) {
    videoModeIndex = 16;
    return;
  }
  if (videoModes[15].available) {
    videoModeIndex = 15;
    return;
  }
  for (int i = VIDEO_MODE_COUNT - 1; i >= 0; --i) {
    if (videoModes[i].available && videoModes[i].aspectClass == desktopAspectClass) {
      videoModeIndex = static_cast<uint8_t>(i);
      return;
    }
  }
  for (int i = VIDEO_MODE_COUNT - 1; i >= 0; --i) {
    if (videoModes[i].available) {
      videoModeIndex = static_cast<uint8_t>(i);
      return;
    }
  }
  videoModeIndex = VIDEO_MODE_DESKTOP;
  backBufferWidth = desktopWidth;
  backBufferHeight = desktopHeight;
}

void validateVideoMode(int desktopWidth, int desktopHeight) {
  if (videoModeIndex < VIDEO_MODE_COUNT && videoModes[videoModeIndex].available) {
    return;
  }
  videoModeIndex = VIDEO_MODE_AUTOMATIC;
  chooseVideoMode(desktopWidth, desktopHeight);
}

void computeRenderScale(int desktopWidth, int desktopHeight) {
  int w;
  int h;
  if (videoModeIndex == VIDEO_MODE_DESKTOP || videoModeIndex >= VIDEO_MODE_COUNT) {
    w = desktopWidth;
    h = desktopHeight;
  } else {
    w = static_cast<int>(videoModes[videoModeIndex].width);
    h = static_cast<int>(videoModes[videoModeIndex].height);
  }
  backBufferWidth = w;
  backBufferHeight = h;
  if (w == 1920) {
    renderScale = 1.0f;
    verticalOffset = h == 1200 ? 60.0f : 0.0f;
    return;
  }
  float wf = static_cast<float>(w);
  renderScale = wf / 1920.0f;
  // Half the virtual height beyond 1080, to the nearest row, halves up; both
  // intermediate values are kept as 32-bit floats.
  float half = ((1920.0f / wf) * static_cast<float>(h) - 1080.0f) * 0.5f;
  float sum = half + 0.5f;
  verticalOffset = std::floor(sum);
}

bool createDevice(int desktopWidth, int desktopHeight) {
  scanAdapterModes();
  chooseVideoMode(desktopWidth, desktopHeight);
  validateVideoMode(desktopWidth, desktopHeight);
  computeRenderScale(desktopWidth, desktopHeight);
  presentRefreshRate =
      (videoModeIndex < VIDEO_MODE_COUNT && videoModes[videoModeIndex].has60Hz) ? 60 : 0;
  if (createGraphicsDevice(backBufferWidth, backBufferHeight, presentRefreshRate)) {
    return true;
  }
  videoModeIndex = VIDEO_MODE_DESKTOP;
  computeRenderScale(desktopWidth, desktopHeight);
  return createGraphicsDevice(backBufferWidth, backBufferHeight, presentRefreshRate);
}
