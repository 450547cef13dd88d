// Writes the sound files into data/: effects, tunes, and the default settings.
#include "sounds.h"
#include "assetgen.h"
#include "synth.h"
#include "persistence/settings_file.h"
#include <cstdio>
#include <sys/stat.h>

bool generateSounds(const std::string &dataDir) {
  bool ok = true;
  for (int i = 0; i < EFFECT_FILE_COUNT; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "/w%02d.wav", i);
    ok = writeIfChanged(dataDir + name, encodeWav(effectSound(i), EFFECT_SAMPLE_RATE)) && ok;
  }
  return ok;
}

// Audible volumes for a first run; a player's own settings are never replaced.
bool generateDefaultSettings(const std::string &dataDir) {
  std::string path = dataDir + "/setting.pta";
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    return true;
  }
  int32_t values[SETTINGS_VALUE_COUNT] = {};
  values[SETTING_EFFECTS_VOLUME] = DEFAULT_EFFECTS_VOLUME;
  values[SETTING_MUSIC_VOLUME] = DEFAULT_MUSIC_VOLUME;
  values[SETTING_MUSIC_NUMBER] = 1;
  values[SETTING_LAST_MUSIC_NUMBER] = 1;
  uint8_t bytes[SETTINGS_LENGTH];
  encodeSettings(values, bytes);
  return writeIfChanged(path, std::vector<uint8_t>(bytes, bytes + SETTINGS_LENGTH));
}

bool generateTunes(const std::string &dataDir) {
  bool ok = true;
  for (int i = 0; i < TUNE_COUNT; ++i) {
    ok = writeIfChanged(dataDir + "/" + tuneFileName(i), tuneBytes(i)) && ok;
  }
  return ok;
}
