// Writes the sound files into data/: effects, tunes, and the default settings.
#include "sounds.h"
#include "assetgen.h"
#include "synth.h"
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
  const int32_t values[4] = {DEFAULT_EFFECTS_VOLUME, DEFAULT_MUSIC_VOLUME, 1,
                             1}; // effects, music, tune, last tune
  std::vector<uint8_t> bytes;
  for (int32_t v : values) {
    for (int i = 0; i < 4; ++i) {
      bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
    }
  }
  return writeIfChanged(path, bytes);
}

bool generateTunes(const std::string &dataDir) {
  bool ok = true;
  for (int i = 0; i < TUNE_COUNT; ++i) {
    ok = writeIfChanged(dataDir + "/" + tuneFileName(i), tuneBytes(i)) && ok;
  }
  return ok;
}
