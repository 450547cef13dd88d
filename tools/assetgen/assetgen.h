// The data generator: every file under data/, made deterministically.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes the file only when its content differs, so rebuilds leave data/ alone.
bool writeIfChanged(const std::string &path, const std::vector<uint8_t> &bytes);
// A PNG of A8R8G8B8 pixels (rows of width).
std::vector<uint8_t> encodePng(const std::vector<uint32_t> &argb, int width, int height);

bool generatePictures(const std::string &dataDir);
bool generateFont(const std::string &dataDir);
bool generateSounds(const std::string &dataDir);
bool generateTunes(const std::string &dataDir);
bool generateDefaultSettings(const std::string &dataDir);
