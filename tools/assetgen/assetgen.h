// The data generator: every file under data/, made deterministically.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the file only when its content differs, so rebuilds leave data/ alone.
bool writeIfChanged(const std::string &path, const std::vector<uint8_t> &bytes);
// A PNG of A8R8G8B8 pixels (rows of width).
std::vector<uint8_t> encodePng(const std::vector<uint32_t> &argb, int width, int height);

// The id the desktop files and the icons are named by.
constexpr const char *APP_ID = "io.github.pelta.Pelta";

// Creates the folder and those above it; true when it exists afterwards.
bool makeFolders(const std::string &folder);

bool generatePictures(const std::string &dataDir);
// hicolor/NxN/apps/<APP_ID>.png at 16, 24, 32, 48, 64, 128 and 256 pixels
// under iconDir.
bool generateDesktopIcons(const std::string &iconDir);
// xf1.pta: a copy of the font file the build found.
bool generateFont(const std::string &dataDir, const std::string &fontFile);
bool generateSounds(const std::string &dataDir);
bool generateTunes(const std::string &dataDir);
bool generateDefaultSettings(const std::string &dataDir);
