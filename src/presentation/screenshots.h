// Ctrl+P screenshots: numbered bitmap files in the screenshots folder.
#pragma once
#include <cstdint>
#include <vector>

extern uint16_t screenshotCounter;
extern char screenshotPath[64];

constexpr uint16_t MAX_SCREENSHOT_NUMBER = 999;
// The lowest number whose file does not exist (1 when all do).
void findFreeScreenshotNumber();
// The first free name from screenshotCounter on (after 999 comes 1), the
// counter left at its number; nullptr when all 999 names are taken.
const char *nextScreenshotName();
// Captures the back buffer into the next free numbered file, never over an
// existing one. True only when the file was written; a failure plays the
// failure sound, says why on stderr and keeps the number.
uint8_t takeScreenshot();
// A 32-bit bottom-up Windows bitmap of A8R8G8B8 rows.
std::vector<uint8_t> encodeBmp(const uint32_t *pixels, int width, int height);
