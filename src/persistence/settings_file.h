// The settings file: the two volumes and the chosen tune.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr const char *SETTINGS_FILE = "data/setting.pta";

constexpr int SETTINGS_LENGTH = 16;

// Reads the four values; a missing file keeps the built-in ones, and one that
// cannot be read keeps them too and is left alone for the run (player told).
void readSettings();
// Writes the four values over the first 16 bytes, keeping any further bytes.
bool writeSettings();
// Puts the file's content into the four values: each replaces only the bytes
// the content holds, from the front; then every value is brought into range.
void applySettingsBytes(const uint8_t *bytes, size_t size);
// Volumes into 0..10000, a tune outside 1..21 and a last tune outside 1..20 to 1.
void clampSettings();
