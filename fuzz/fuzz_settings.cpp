// Fuzzes the settings reader: whatever the file holds, the values end in range.
#include "audio/audio.h"
#include "persistence/settings_file.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  effectsVolume = 0;
  musicVolume = 252;
  musicNumber = 1;
  lastMusicNumber = 1;
  applySettingsBytes(data, size);
  if (effectsVolume < 0 || effectsVolume > VOLUME_MAX || musicVolume < 0 ||
      musicVolume > VOLUME_MAX || musicNumber < 1 || musicNumber > MUSIC_SILENT ||
      lastMusicNumber < 1 || lastMusicNumber >= MUSIC_SILENT) {
    std::abort();
  }
  return 0;
}
