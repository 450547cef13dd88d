// The headless sound device: accepts what a real one would (WAV samples,
// tracker modules recognised by their signature), keeps channel and tune state,
// and records every call so tests can see what was played and stopped.
#include <cstring>
#include <map>
#include <string>
#include "platform/headless/headless.h"

namespace {
struct ChannelState {
  SampleId sample = 0;
  bool loop = false;
};

bool available = true;
bool open = false;
bool paused = false;
std::vector<ChannelState> channels;
std::map<SampleId, bool> samples;
std::map<TuneId, bool> tunes;
SampleId nextSample = 1;
TuneId nextTune = 1;
TuneId heard = 0;
int32_t loadedTunes = 0;
std::vector<AudioRecord> log;

void record(AudioCall call, int32_t channel, int32_t id, int32_t rate, float value, bool loop) {
  log.push_back({call, channel, id, rate, value, loop});
}

bool hasTag(const uint8_t *bytes, size_t size, size_t at, const char *tag) {
  size_t n = std::strlen(tag);
  return size >= at + n && std::memcmp(bytes + at, tag, n) == 0;
}

// The same four formats the real device plays, told apart by their signatures.
bool looksLikeModule(const uint8_t *bytes, size_t size) {
  return hasTag(bytes, size, 0, "Extended Module: ") || hasTag(bytes, size, 0, "IMPM") ||
         hasTag(bytes, size, 0x2C, "SCRM") || hasTag(bytes, size, 1080, "M.K.");
}
} // namespace

bool openAudioDevice(int32_t, int32_t channelCount) {
  if (!available || channelCount <= 0) {
    return false;
  }
  open = true;
  paused = false;
  channels.assign(static_cast<size_t>(channelCount), ChannelState{});
  return true;
}

void closeAudioDevice() {
  open = false;
  channels.clear();
  samples.clear();
  tunes.clear();
  heard = 0;
}

SampleId loadSample(const uint8_t *bytes, size_t size) {
  if (!open || bytes == nullptr || !hasTag(bytes, size, 0, "RIFF") || !hasTag(bytes, size, 8, "WAVE")) {
    return 0;
  }
  samples[nextSample] = true;
  return nextSample++;
}

void freeSample(SampleId sample) { samples.erase(sample); }

bool playOnChannel(int32_t channel, SampleId sample, int32_t rateHz, float volume, bool loop) {
  if (!open || channel < 0 || channel >= static_cast<int32_t>(channels.size()) || samples.count(sample) == 0) {
    return false;
  }
  channels[static_cast<size_t>(channel)] = {sample, loop};
  record(AudioCall::PlayChannel, channel, sample, rateHz, volume, loop);
  return true;
}

void stopChannel(int32_t channel) {
  if (!open || channel < 0 || channel >= static_cast<int32_t>(channels.size())) {
    return;
  }
  channels[static_cast<size_t>(channel)] = {};
  record(AudioCall::StopChannel, channel, 0, 0, 0.0f, false);
}

bool channelPlaying(int32_t channel) {
  return open && channel >= 0 && channel < static_cast<int32_t>(channels.size()) &&
         channels[static_cast<size_t>(channel)].sample != 0;
}

TuneId loadTune(const uint8_t *bytes, size_t size) {
  if (!open || bytes == nullptr || !looksLikeModule(bytes, size)) {
    return 0;
  }
  ++loadedTunes;
  tunes[nextTune] = true;
  return nextTune++;
}

void playTune(TuneId tune) {
  if (!open || tunes.count(tune) == 0) {
    return;
  }
  heard = tune;
  record(AudioCall::PlayTune, -1, tune, 0, 0.0f, true);
}

void stopTune(TuneId tune) {
  if (!open || tune == 0) {
    return;
  }
  if (heard == tune) {
    heard = 0;
  }
  record(AudioCall::StopTune, -1, tune, 0, 0.0f, false);
}

void freeTune(TuneId tune) {
  if (heard == tune) {
    heard = 0;
  }
  tunes.erase(tune);
}

void setEffectsGain(float gain) {
  if (open) {
    record(AudioCall::EffectsGain, -1, 0, 0, gain, false);
  }
}

void setMusicGain(float gain) {
  if (open) {
    record(AudioCall::MusicGain, -1, 0, 0, gain, false);
  }
}

void pauseAudioOutput() {
  if (open) {
    paused = true;
    record(AudioCall::Pause, -1, 0, 0, 0.0f, false);
  }
}

void resumeAudioOutput() {
  if (open) {
    paused = false;
    record(AudioCall::Resume, -1, 0, 0, 0.0f, false);
  }
}

namespace headless {
void resetAudio() {
  closeAudioDevice();
  available = true;
  paused = false;
  nextSample = 1;
  nextTune = 1;
  loadedTunes = 0;
  log.clear();
}
void setAudioAvailable(bool yes) { available = yes; }
bool audioDeviceOpen() { return open; }
const std::vector<AudioRecord> &audioLog() { return log; }
void clearAudioLog() { log.clear(); }
void finishChannel(int32_t channel) {
  if (channel >= 0 && channel < static_cast<int32_t>(channels.size())) {
    channels[static_cast<size_t>(channel)] = {};
  }
}
SampleId channelSample(int32_t channel) {
  return channelPlaying(channel) ? channels[static_cast<size_t>(channel)].sample : 0;
}
TuneId tuneHeard() { return heard; }
int32_t tunesLoaded() { return loadedTunes; }
bool audioPaused() { return paused; }
} // namespace headless
