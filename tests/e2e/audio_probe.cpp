// Drives the audio subsystem on the real SDL backend without a window, for the
// audio end-to-end check: the menu tune, effects over it, a stop, then a
// lone effect. Usage: pelta_audio_probe DATA_FOLDER. Exits 3 when no device
// opened, 4 when an effect or the tune did not load.
#include "audio/audio.h"
#include "common/files.h"
#include "platform/timer.h"
#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::puts("usage: pelta_audio_probe DATA_FOLDER");
    return 2;
  }
  setDataFolder(argv[1]);
  effectsVolume = 10000;
  musicVolume = 10000;
  initAudio();
  if (!audioReady) {
    std::puts("no sound device");
    return 3;
  }
  for (SampleId sample : effectSamples) {
    if (sample == 0) {
      std::puts("an effect did not load");
      return 4;
    }
  }
  selectMusic(MENU_MUSIC);
  if (musicChannel == 0) {
    std::puts("the menu tune did not load");
    return 4;
  }
  sleepMilliseconds(1500);
  playEffect(EFFECT_TICK);
  playEffect(EFFECT_CAPTURE);
  playEffect(EFFECT_TRACK);
  sleepMilliseconds(1000);
  stopEffect(EFFECT_TRACK);
  stopMusic();
  playEffect(EFFECT_LEVEL_DONE_90);
  sleepMilliseconds(1500);
  shutdownAudio();
  std::printf("tunes and effects played\n");
  return 0;
}
