// Screenshots. A missing folder is created, the number is used up only by a
// file that was really written, and a failed write plays the failure sound,
// never the success sound.
#include "presentation/screenshots.h"
#include "audio/audio.h"
#include "common/files.h"
#include "common/format.h"
#include "common/start_values.h"
#include "platform/video.h"
#include "presentation/video_modes.h"

uint16_t screenshotCounter = 1;
char screenshotPath[64];

namespace {
constexpr const char *SCREENSHOT_FOLDER = "screenshots";

void formatScreenshotName(char *out, size_t size, uint16_t number) {
  formatInto(out, size, "screenshots/scr_%.3d.bmp", {static_cast<int32_t>(number)});
}
} // namespace

void findFreeScreenshotNumber() {
  uint16_t i = 0;
  char name[64];
  for (;;) {
    ++i;
    formatScreenshotName(name, sizeof name, i);
    if (!fileExists(name)) {
      break;
    }
  }
  screenshotCounter = i < 999 ? i : 1;
}

const char *nextScreenshotName() {
  uint16_t n = screenshotCounter;
  screenshotCounter = static_cast<uint16_t>(screenshotCounter + 1);
  formatScreenshotName(screenshotPath, sizeof screenshotPath, n);
  if (screenshotCounter > 999) {
    screenshotCounter = 1;
  }
  return screenshotPath;
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
  bool ok = readBackBuffer(pixels.data(), backBufferWidth, backBufferHeight);
  if (ok) {
    makeDirectory(SCREENSHOT_FOLDER);
    uint16_t kept = screenshotCounter;
    const char *name = nextScreenshotName();
    ok = replaceFileAtomically(name, encodeBmp(pixels.data(), backBufferWidth, backBufferHeight));
    if (!ok) {
      screenshotCounter = kept;
    }
  }
  if (!ok) {
    playEffect(EFFECT_SCREENSHOT_FAILED);
  }
  return ok ? 1 : 0;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    screenshotCounter);
} // namespace
