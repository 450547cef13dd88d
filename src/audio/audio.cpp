// Sound effects and tunes: start-up, the effect channel bank, the one looping
// tune, pause and resume. Without a sound device every operation does nothing.
#include "audio/audio.h"
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>
#include "common/files.h"
#include "common/start_values.h"

int32_t audioReady = 0;
SampleId effectSamples[EFFECT_COUNT] = {};
TuneId musicChannel = 0;
int32_t currentMusic = -1;
int32_t effectsVolume = 0;
int32_t musicVolume = 252;
int32_t musicNumber = 1;
int32_t lastMusicNumber = 1;

namespace {
// Which effect owns a channel and when its current play started; the play
// counter orders plays so the oldest one can be taken over.
int32_t channelEffect[EFFECT_CHANNEL_COUNT];
uint64_t channelStarted[EFFECT_CHANNEL_COUNT];
uint64_t playCounter = 0;
// A tune loaded ahead of its first play (prepareMusic), and its number.
TuneId preparedTune = 0;
int32_t preparedMusic = -1;

void dropPreparedTune() {
  freeTune(preparedTune);
  preparedTune = 0;
  preparedMusic = -1;
}

const char *const TUNE_FILES[LAST_MUSIC_NUMBER + 1] = {
    "data/xm00.xm",  "data/xm01.s3m", "data/xm02.s3m", "data/xm03.s3m", "data/xm04.xm",
    "data/xm05.mod", "data/xm06.mod", "data/xm07.mod", "data/xm08.mod", "data/xm09.s3m",
    "data/xm10.xm",  "data/xm11.mod", "data/xm12.mod", "data/xm13.mod", "data/xm14.it",
    "data/xm15.s3m", "data/xm16.mod", "data/xm17.xm",  "data/xm18.xm",  "data/xm19.mod",
    "data/xm20.xm"};

float volumeGain(int32_t volume) {
  if (volume <= 0) {
    return 0.0f;
  }
  if (volume >= VOLUME_MAX) {
    return 1.0f;
  }
  return static_cast<float>(volume) / static_cast<float>(VOLUME_MAX);
}

int effectOfSample(SampleId sample) {
  for (int i = 0; i < EFFECT_COUNT; ++i) {
    if (effectSamples[i] == sample) {
      return i;
    }
  }
  return -1;
}

// A free channel of the effect, else the one whose play started first.
int32_t chooseChannel(int effect) {
  int32_t first = effectFirstChannel(effect);
  int32_t last = first + effectPlayLimit(effect);
  int32_t oldest = first;
  for (int32_t ch = first; ch < last; ++ch) {
    if (!channelPlaying(ch)) {
      return ch;
    }
    if (channelStarted[ch] < channelStarted[oldest]) {
      oldest = ch;
    }
  }
  return oldest;
}
} // namespace

int32_t effectPlayLimit(int effect) {
  if (effect == EFFECT_TICK || effect == EFFECT_CAPTURE) {
    return 3;
  }
  return (effect >= 0 && effect < EFFECT_COUNT) ? 1 : 0;
}

int32_t effectFirstChannel(int effect) {
  int32_t first = 0;
  for (int i = 0; i < effect && i < EFFECT_COUNT; ++i) {
    first += effectPlayLimit(i);
  }
  return first;
}

const char *tuneFile(int32_t number) {
  if (number < 0 || number > 20) {
    return nullptr;
  }
  return TUNE_FILES[number];
}

void initAudio() {
  audioReady = openAudioDevice(MIX_RATE, EFFECT_CHANNEL_COUNT) ? 1 : 0;
  if (!audioReady) {
    reportOnce("no sound device could be opened; the game runs silently");
    return;
  }
  for (int32_t ch = 0; ch < EFFECT_CHANNEL_COUNT; ++ch) {
    channelEffect[ch] = -1;
    channelStarted[ch] = 0;
  }
  playCounter = 0;
  currentMusic = -1;
  musicChannel = 0;
  preparedTune = 0;
  preparedMusic = -1;
  loadEffects();
  setEffectsGain(volumeGain(effectsVolume));
  setMusicGain(volumeGain(musicVolume));
}

// A missing or broken effect file leaves handle 0, which later plays as silence.
void loadEffects() {
  std::vector<uint8_t> bytes;
  char name[32];
  for (int i = 0; i < EFFECT_COUNT; ++i) {
    std::snprintf(name, sizeof name, "data/w%02d.wav", i);
    const std::string path = dataPath(name);
    effectSamples[i] = 0;
    if (!readWholeFile(path.c_str(), bytes)) {
      reportOnce("cannot load sound effect " + path + " (" + readFailureText(errno) + ")");
      continue;
    }
    effectSamples[i] = loadSample(bytes.data(), bytes.size());
    if (effectSamples[i] == 0) {
      reportOnce(std::string("unreadable sound effect ") + path);
    }
  }
}

void shutdownAudio() {
  if (!audioReady) {
    return;
  }
  closeAudioDevice();
  for (auto &sample : effectSamples) {
    sample = 0;
  }
  musicChannel = 0;
  currentMusic = -1;
  preparedTune = 0;
  preparedMusic = -1;
  audioReady = 0;
}

int32_t playSample(SampleId sample, int32_t rateHz, int32_t volume) {
  if (!audioReady || volume == 0 || sample == 0) {
    return 0;
  }
  int effect = effectOfSample(sample);
  if (effect < 0) {
    return 0;
  }
  float v = static_cast<float>(volume) / 255.0f;
  v = v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
  int32_t ch = chooseChannel(effect);
  if (!playOnChannel(ch, sample, rateHz, v, effect == EFFECT_TRACK)) {
    return 0;
  }
  channelEffect[ch] = effect;
  channelStarted[ch] = ++playCounter;
  return ch + 1;
}

void playEffect(int effect) {
  if (effect < 0 || effect >= EFFECT_COUNT) {
    return;
  }
  playSample(effectSamples[effect], EFFECT_RATE, 255);
}

// Called without testing audioReady; with no device the stops do nothing.
void stopEffect(int effect) {
  int32_t first = effectFirstChannel(effect);
  int32_t last = first + effectPlayLimit(effect);
  for (int32_t ch = first; ch < last; ++ch) {
    stopChannel(ch);
  }
}

// Effect 12, the failed-screenshot buzz, is deliberately left sounding.
void stopEffects() {
  for (int i = 0; i < EFFECT_SCREENSHOT_FAILED; ++i) {
    stopEffect(i);
  }
}

// currentMusic is set before the load, so a tune that fails to load is not
// tried again until another number has been played in between.
void playMusic(int32_t number, const char *path) {
  if (!audioReady || number == currentMusic) {
    return;
  }
  currentMusic = -1;
  stopTune(musicChannel);
  freeTune(musicChannel);
  musicChannel = 0;
  currentMusic = number;
  // Callers may name the file with backslashes, "data\xm00.xm"; they read
  // as slashes.
  std::string name = path != nullptr ? path : "";
  for (char &c : name) {
    if (c == '\\') {
      c = '/';
    }
  }
  if (preparedTune != 0 && preparedMusic == number && tuneFile(number) == name) {
    musicChannel = preparedTune;
    preparedTune = 0;
    preparedMusic = -1;
    playTune(musicChannel);
    return;
  }
  dropPreparedTune();
  const std::string file = dataPath(name.c_str());
  std::vector<uint8_t> bytes;
  if (!readWholeFile(file.c_str(), bytes)) {
    reportOnce("cannot load tune " + file + " (" + readFailureText(errno) + ")");
    return;
  }
  musicChannel = loadTune(bytes.data(), bytes.size());
  if (musicChannel == 0) {
    reportOnce("unreadable tune " + file);
    return;
  }
  playTune(musicChannel);
}

// Reading a tune takes a frame's time or more: the first screen's is read
// while the window is still hidden, so its first frame does not wait. A
// tune that cannot be read is left to playMusic, which says why.
void prepareMusic(int32_t number) {
  const char *path = tuneFile(number);
  if (!audioReady || path == nullptr || number == currentMusic) {
    return;
  }
  dropPreparedTune();
  std::vector<uint8_t> bytes;
  if (readWholeFile(dataPath(path).c_str(), bytes)) {
    preparedTune = loadTune(bytes.data(), bytes.size());
    preparedMusic = preparedTune != 0 ? number : -1;
  }
}

// 21 (silence) and any other number outside 0 … 20 leave the tune as it is.
void selectMusic(int32_t number) {
  const char *path = tuneFile(number);
  if (path != nullptr) {
    playMusic(number, path);
  }
}

void stopMusic() {
  currentMusic = -1;
  if (!audioReady) {
    return;
  }
  stopTune(musicChannel);
  freeTune(musicChannel);
  musicChannel = 0;
}

void pauseAudio() {
  if (audioReady) {
    pauseAudioOutput();
  }
}

void resumeAudio() {
  if (audioReady) {
    resumeAudioOutput();
  }
}

void applyEffectsVolume() {
  if (audioReady) {
    setEffectsGain(volumeGain(effectsVolume));
  }
}

void applyMusicVolume() {
  if (audioReady) {
    setMusicGain(volumeGain(musicVolume));
  }
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    effectsVolume, musicVolume, musicNumber, lastMusicNumber);
} // namespace
