// Fuzzes the way the game takes in its sound files: the input, written as an
// effect and as a tune file, goes through loading, playing and stopping on the
// headless sound device. The first byte picks the tune number asked for.
#include "audio/audio.h"
#include "common/files.h"
#include "fuzz_scratch.h"
#include "platform/headless/headless.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fuzzScratchFolder();
  if (size == 0) {
    return 0;
  }
  const int32_t number = static_cast<int8_t>(data[0]);
  const std::vector<uint8_t> content(data + 1, data + size);
  replaceFileAtomically("data/w00.wav", content);
  replaceFileAtomically("data/w06.wav", content);
  const char *tune = tuneFile(number < 0 ? 0 : number % 21);
  replaceFileAtomically(tune, content);
  headless::resetAudio();
  effectsVolume = 10000;
  musicVolume = 10000;
  initAudio();
  playEffect(EFFECT_PICKUP);
  selectMusic(number);
  playMusic(number, "data\\xm00.xm");
  stopEffects();
  stopMusic();
  shutdownAudio();
  return 0;
}
