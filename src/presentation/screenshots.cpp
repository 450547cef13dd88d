// Screenshots. A missing folder is created, the number is used up only by a
// file that was really written, an existing file is never replaced, and a
// failed shot plays the failure sound (never the success sound) and says why.
#include "presentation/screenshots.h"
#include "audio/audio.h"
#include "common/files.h"
#include "common/format.h"
#include "common/start_values.h"
#include "platform/video.h"
#include "presentation/video_modes.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

uint16_t screenshotCounter = 1;
char screenshotPath[64];

namespace {
constexpr const char *SCREENSHOT_FOLDER = "screenshots";

// Any entry, a dangling link included, keeps its name from being used.
bool pathTaken(const char *name) {
  struct stat st;
  return ::lstat(resolvePath(name).c_str(), &st) == 0;
}

void formatScreenshotName(char *out, size_t size, uint16_t number) {
  formatInto(out, size, "screenshots/scr_%.3d.bmp", {static_cast<int32_t>(number)});
}
} // namespace

void findFreeScreenshotNumber() {
  screenshotCounter = 1;
  for (uint16_t i = 1; i <= MAX_SCREENSHOT_NUMBER; ++i) {
    char name[64];
    formatScreenshotName(name, sizeof name, i);
    if (!pathTaken(name)) {
      screenshotCounter = i;
      return;
    }
  }
}

const char *nextScreenshotName() {
  for (int tried = 0; tried < MAX_SCREENSHOT_NUMBER; ++tried) {
    formatScreenshotName(screenshotPath, sizeof screenshotPath, screenshotCounter);
    if (!pathTaken(screenshotPath)) {
      return screenshotPath;
    }
    screenshotCounter = screenshotCounter >= MAX_SCREENSHOT_NUMBER ? 1 : screenshotCounter + 1;
  }
  return nullptr;
}

std::vector<uint8_t> encodeBmp(const uint32_t *pixels, int width, int height) {
  const uint32_t imageBytes = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4u;
  std::vector<uint8_t> bmp(54 + imageBytes);
  uint8_t *h = bmp.data();
  h[0] = 'B';
  h[1] = 'M';
  writeLe32(h + 2, 54 + imageBytes);
  writeLe32(h + 10, 54);
  writeLe32(h + 14, 40);
  writeLe32(h + 18, static_cast<uint32_t>(width));
  writeLe32(h + 22, static_cast<uint32_t>(height)); // positive: bottom-up rows
  h[26] = 1;                                         // planes
  h[28] = 32;                                        // bits per pixel
  writeLe32(h + 34, imageBytes);
  writeLe32(h + 38, 2835); // 72 dpi
  writeLe32(h + 42, 2835);
  uint8_t *out = h + 54;
  for (int y = height - 1; y >= 0; --y) {
    const uint32_t *row = pixels + static_cast<size_t>(y) * static_cast<size_t>(width);
    for (int x = 0; x < width; ++x) {
      writeLe32(out, row[x]); // B, G, R, A in memory
      out += 4;
    }
  }
  return bmp;
}

uint8_t takeScreenshot() {
  std::vector<uint32_t> pixels(static_cast<size_t>(backBufferWidth) *
                               static_cast<size_t>(backBufferHeight));
  if (!readBackBuffer(pixels.data(), backBufferWidth, backBufferHeight)) {
    std::fputs("pelta: no screenshot: the picture could not be read back\n", stderr);
    playEffect(EFFECT_SCREENSHOT_FAILED);
    return 0;
  }
  const std::vector<uint8_t> bmp = encodeBmp(pixels.data(), backBufferWidth, backBufferHeight);
  std::string why;
  if (!makeDirectory(SCREENSHOT_FOLDER)) {
    why = std::string("cannot make the folder ") + resolvePath(SCREENSHOT_FOLDER) + ": " +
          std::strerror(errno);
  }
  // A name taken meanwhile (another program, a file copied in) is skipped,
  // never replaced.
  while (why.empty()) {
    const char *name = nextScreenshotName();
    if (name == nullptr) {
      why = "every name from scr_001.bmp to scr_999.bmp in " + resolvePath(SCREENSHOT_FOLDER) +
            " is taken; move some away";
    } else if (writeNewFile(name, bmp)) {
      screenshotCounter = screenshotCounter >= MAX_SCREENSHOT_NUMBER ? 1 : screenshotCounter + 1;
      return 1;
    } else if (errno != EEXIST) {
      why = std::string("cannot write ") + resolvePath(name) + ": " + std::strerror(errno);
    }
  }
  std::fprintf(stderr, "pelta: no screenshot: %s\n", why.c_str());
  playEffect(EFFECT_SCREENSHOT_FAILED);
  return 0;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    screenshotCounter);
} // namespace
