// Ctrl+P screenshots: numbered bitmap files in the screenshots folder.
#pragma once
#include <cstdint>
#include <vector>

extern uint16_t screenshotCounter;
extern char screenshotPath[64];

void findFreeScreenshotNumber();
// The file name for screenshotCounter; advances the counter (999 wraps to 1).
const char *nextScreenshotName();
// Captures the back buffer into the next numbered file. True only when the
// file was written; a failure plays the failure sound and keeps the number.
uint8_t takeScreenshot();
// A 32-bit bottom-up Windows bitmap of A8R8G8B8 rows.
std::vector<uint8_t> encodeBmp(const uint32_t *pixels, int width, int height);
