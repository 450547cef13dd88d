// The settings file: the two volumes and the chosen tune.
#pragma once
#include <cstddef>
#include "common/files.h"
#include <cstdint>

constexpr const char *SETTINGS_FILE = "data/setting.pta";

// The file's values in their order, each a little-endian 32-bit number.
enum SettingsValue : int {
  SETTING_EFFECTS_VOLUME,
  SETTING_MUSIC_VOLUME,
  SETTING_MUSIC_NUMBER,
  SETTING_LAST_MUSIC_NUMBER,
  SETTINGS_VALUE_COUNT
};
constexpr int SETTINGS_LENGTH = 4 * SETTINGS_VALUE_COUNT;

// The file's bytes for these values: the game's writer and the data
// generator's default file both lay it out here.
inline void encodeSettings(const int32_t (&values)[SETTINGS_VALUE_COUNT],
                           uint8_t (&bytes)[SETTINGS_LENGTH]) {
  for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
    writeLe32(bytes + 4 * i, static_cast<uint32_t>(values[i]));
  }
}

// Reads the four values; a missing file keeps the built-in ones, and one that
// cannot be read keeps them too and is left alone for the run (player told).
void readSettings();
// The four values as the file holds them, in their order.
void currentSettings(int32_t (&values)[SETTINGS_VALUE_COUNT]);
// Writes the four values over the first 16 bytes, keeping any further bytes.
bool writeSettings();
// Puts the file's content into the four values: each replaces only the bytes
// the content holds, from the front; then every value is brought into range.
void applySettingsBytes(const uint8_t *bytes, size_t size);
// Volumes into 0..10000, a tune outside 1..21 and a last tune outside 1..20 to 1.
void clampSettings();
