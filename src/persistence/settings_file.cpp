// The settings file: four little-endian 32-bit values, not scrambled.
#include "persistence/settings_file.h"
#include "audio/audio.h"
#include "common/files.h"
#include "common/notices.h"
#include "persistence/file_patch.h"
#include <cerrno>
#include <vector>

namespace {
int32_t *const settingValues[SETTINGS_VALUE_COUNT] = {&effectsVolume, &musicVolume, &musicNumber,
                                                       &lastMusicNumber};
} // namespace

void clampSettings() {
  effectsVolume = clampVolume(effectsVolume);
  musicVolume = clampVolume(musicVolume);
  if (musicNumber < 1 || musicNumber > MUSIC_SILENT) {
    musicNumber = 1;
  }
  // The tune that S brings back from silence is never silence itself.
  if (lastMusicNumber < 1 || lastMusicNumber >= MUSIC_SILENT) {
    lastMusicNumber = 1;
  }
}

void applySettingsBytes(const uint8_t *bytes, size_t size) {
  for (size_t i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
    uint32_t value = static_cast<uint32_t>(*settingValues[i]);
    // A short file replaces only the low bytes it still holds (little-endian).
    for (size_t b = 0; b < 4; ++b) {
      size_t at = i * 4 + b;
      if (at < size) {
        value = (value & ~(0xFFu << (8 * b))) | (uint32_t(bytes[at]) << (8 * b));
      }
    }
    *settingValues[i] = static_cast<int32_t>(value);
  }
  clampSettings();
}

void readSettings() {
  std::vector<uint8_t> bytes;
  if (readWholeFile(SETTINGS_FILE, bytes, PLAYER_FILE_MAX_BYTES)) {
    applySettingsBytes(bytes.data(), bytes.size());
  } else if (errno != ENOENT && errno != ENOTDIR) {
    // The built-in volumes must not replace the player's at the end.
    const int why = errno;
    leaveFileAlone(SETTINGS_FILE);
    tellPlayer(resolvePath(SETTINGS_FILE) + " cannot be read (" + readFailureText(why) +
               "); it is left as it is, and this run's settings are not kept");
  }
}

void currentSettings(int32_t (&values)[SETTINGS_VALUE_COUNT]) {
  for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
    values[i] = *settingValues[i];
  }
}

bool writeSettings() {
  int32_t values[SETTINGS_VALUE_COUNT];
  currentSettings(values);
  uint8_t bytes[SETTINGS_LENGTH];
  encodeSettings(values, bytes);
  return patchFileRange(SETTINGS_FILE, 0, bytes, sizeof bytes);
}
