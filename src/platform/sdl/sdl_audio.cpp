// The sound device on SDL2_mixer (effect channels) and libopenmpt (the tune,
// rendered in SDL_mixer's music hook on the audio thread).
#include "platform/audio_device.h"
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <libopenmpt/libopenmpt.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
struct Sample {
  Mix_Chunk *chunk = nullptr; // at the file's own rate
  int32_t rate = 0;
  std::vector<uint8_t> wav; // kept to build a chunk for another rate
  Mix_Chunk *altChunk = nullptr;
  int32_t altRate = 0;
};

bool deviceOpen = false;
int deviceRate = 44100;
int deviceChannels = 2;
Uint16 deviceFormat = AUDIO_S16SYS;
std::map<SampleId, Sample> samples;
std::map<TuneId, openmpt_module *> tunes;
SampleId nextSample = 1;
TuneId nextTune = 1;
TuneId activeTune = 0;
float effectsGain = 1.0f;
std::vector<float> channelVolume; // volume each channel was started with
std::atomic<float> musicGain{1.0f};
std::atomic<bool> musicPaused{false};
std::vector<float> renderBuffer; // audio thread only

int mixVolume(float v) {
  int m = static_cast<int>(v * static_cast<float>(MIX_MAX_VOLUME) + 0.5f);
  return m < 0 ? 0 : (m > MIX_MAX_VOLUME ? MIX_MAX_VOLUME : m);
}

// Sample rate from the "fmt " chunk of a RIFF WAV; 0 when there is none.
int32_t wavRate(const std::vector<uint8_t> &w, size_t *rateOffset) {
  if (w.size() < 12 || std::memcmp(w.data(), "RIFF", 4) != 0 ||
      std::memcmp(w.data() + 8, "WAVE", 4) != 0) {
    return 0;
  }
  size_t at = 12;
  while (at + 8 <= w.size()) {
    uint32_t len = uint32_t(w[at + 4]) | uint32_t(w[at + 5]) << 8 | uint32_t(w[at + 6]) << 16 |
                   uint32_t(w[at + 7]) << 24;
    if (std::memcmp(w.data() + at, "fmt ", 4) == 0 && len >= 16 && at + 16 <= w.size()) {
      *rateOffset = at + 12;
      const uint8_t *p = w.data() + at + 12;
      return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                                  uint32_t(p[3]) << 24);
    }
    at += 8 + len + (len & 1);
  }
  return 0;
}

Mix_Chunk *chunkFrom(const std::vector<uint8_t> &w) {
  SDL_RWops *rw = SDL_RWFromConstMem(w.data(), static_cast<int>(w.size()));
  return rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
}

// A chunk that plays the sample's frames at rateHz: the same WAV with its rate
// field rewritten, converted by the mixer at load. Kept for the next play.
Mix_Chunk *chunkAtRate(Sample &s, int32_t rateHz) {
  if (rateHz <= 0 || rateHz == s.rate) {
    return s.chunk;
  }
  if (s.altChunk != nullptr && s.altRate == rateHz) {
    return s.altChunk;
  }
  size_t rateOffset = 0;
  if (wavRate(s.wav, &rateOffset) == 0) {
    return s.chunk;
  }
  std::vector<uint8_t> copy = s.wav;
  for (int i = 0; i < 4; ++i) {
    copy[rateOffset + static_cast<size_t>(i)] =
        static_cast<uint8_t>(static_cast<uint32_t>(rateHz) >> (8 * i));
  }
  Mix_Chunk *c = chunkFrom(copy);
  if (c == nullptr) {
    return s.chunk;
  }
  if (s.altChunk != nullptr) {
    Mix_FreeChunk(s.altChunk);
  }
  s.altChunk = c;
  s.altRate = rateHz;
  return c;
}

// Runs on the audio thread; the stream arrives silent and the effect channels
// are mixed on top of what is written here.
void SDLCALL renderTune(void *arg, Uint8 *stream, int len) {
  auto *mod = static_cast<openmpt_module *>(arg);
  if (mod == nullptr || musicPaused.load()) {
    return;
  }
  int bytesPerValue = SDL_AUDIO_BITSIZE(deviceFormat) / 8;
  size_t frames = static_cast<size_t>(len) / static_cast<size_t>(bytesPerValue * deviceChannels);
  renderBuffer.assign(frames * 2, 0.0f);
  openmpt_module_read_interleaved_float_stereo(mod, deviceRate, frames, renderBuffer.data());
  float gain = musicGain.load();
  for (size_t f = 0; f < frames; ++f) {
    float l = renderBuffer[2 * f] * gain;
    float r = renderBuffer[2 * f + 1] * gain;
    for (int c = 0; c < deviceChannels; ++c) {
      float v = deviceChannels == 1 ? 0.5f * (l + r) : (c == 0 ? l : (c == 1 ? r : 0.0f));
      v = v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
      size_t at = (f * static_cast<size_t>(deviceChannels) + static_cast<size_t>(c)) *
                  static_cast<size_t>(bytesPerValue);
      if (deviceFormat == AUDIO_S16SYS) {
        auto s = static_cast<int16_t>(v * 32767.0f);
        std::memcpy(stream + at, &s, sizeof s);
      } else if (deviceFormat == AUDIO_F32SYS) {
        std::memcpy(stream + at, &v, sizeof v);
      }
    }
  }
}

void applyChannelVolume(int32_t channel) {
  Mix_Volume(channel, mixVolume(channelVolume[static_cast<size_t>(channel)] * effectsGain));
}

// Whether ALSA knows a sound card: without one, opening its default device
// prints a screenful of the library's own errors before failing.
bool alsaHasCard() {
  FILE *cards = std::fopen("/proc/asound/cards", "r");
  if (cards == nullptr) {
    return false;
  }
  char line[128] = "";
  const bool any = std::fgets(line, sizeof line, cards) != nullptr &&
                   std::strstr(line, "no soundcards") == nullptr;
  std::fclose(cards);
  return any;
}

// Whether a PipeWire server listens for this session: without one its
// library complains about its missing configuration.
bool pipeWireListens() {
  const char *runtime = std::getenv("XDG_RUNTIME_DIR");
  const char *remote = std::getenv("PIPEWIRE_REMOTE");
  const std::string socket = std::string(runtime != nullptr ? runtime : "") + "/" +
                             (remote != nullptr ? remote : "pipewire-0");
  return access(remote != nullptr && remote[0] == '/' ? remote : socket.c_str(), F_OK) == 0;
}

// SDL's drivers in its own order, less those that cannot sound here and
// would print their libraries' errors trying (ALSA and sndio, which plays
// through ALSA, without a card; PipeWire without a server) and those that
// never sound (dummy, disk); the player's SDL_AUDIODRIVER is left alone.
void chooseAudioDrivers() {
  if (std::getenv("SDL_AUDIODRIVER") != nullptr) {
    return;
  }
  std::string order;
  const bool card = alsaHasCard();
  const bool pipeWire = pipeWireListens();
  for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
    const std::string name = SDL_GetAudioDriver(i);
    if (((name == "alsa" || name == "sndio") && !card) || (name == "pipewire" && !pipeWire) ||
        name == "dummy" || name == "disk") {
      continue;
    }
    order += (order.empty() ? "" : ",") + name;
  }
  SDL_SetHint(SDL_HINT_AUDIODRIVER, order.empty() ? "none" : order.c_str());
}
} // namespace

bool openAudioDevice(int32_t mixRate, int32_t channels) {
  if (deviceOpen) {
    return true;
  }
  chooseAudioDrivers();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    return false;
  }
  // Any driver that opens is a device, SDL's dummy one included: it mixes
  // as a real one does and only throws the result away.
  if (Mix_OpenAudio(mixRate, AUDIO_S16SYS, 2, 1024) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  int freq = mixRate;
  Uint16 format = AUDIO_S16SYS;
  int outChannels = 2;
  Mix_QuerySpec(&freq, &format, &outChannels);
  deviceRate = freq;
  deviceFormat = format;
  deviceChannels = outChannels > 0 ? outChannels : 2;
  Mix_AllocateChannels(channels);
  Mix_ReserveChannels(channels);
  channelVolume.assign(static_cast<size_t>(channels), 1.0f);
  musicPaused = false;
  deviceOpen = true;
  return true;
}

void closeAudioDevice() {
  if (!deviceOpen) {
    return;
  }
  Mix_HookMusic(nullptr, nullptr);
  activeTune = 0;
  Mix_HaltChannel(-1);
  for (auto &entry : samples) {
    Mix_FreeChunk(entry.second.chunk);
    if (entry.second.altChunk != nullptr) {
      Mix_FreeChunk(entry.second.altChunk);
    }
  }
  samples.clear();
  for (auto &entry : tunes) {
    openmpt_module_destroy(entry.second);
  }
  tunes.clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  deviceOpen = false;
}

SampleId loadSample(const uint8_t *bytes, size_t size) {
  if (!deviceOpen || bytes == nullptr || size == 0) {
    return 0;
  }
  Sample s;
  s.wav.assign(bytes, bytes + size);
  size_t rateOffset = 0;
  s.rate = wavRate(s.wav, &rateOffset);
  s.chunk = chunkFrom(s.wav);
  if (s.chunk == nullptr) {
    return 0;
  }
  samples[nextSample] = std::move(s);
  return nextSample++;
}

void freeSample(SampleId sample) {
  auto it = samples.find(sample);
  if (it == samples.end()) {
    return;
  }
  for (int ch = 0; ch < static_cast<int>(channelVolume.size()); ++ch) {
    Mix_Chunk *playing = Mix_GetChunk(ch);
    if (Mix_Playing(ch) && (playing == it->second.chunk || playing == it->second.altChunk)) {
      Mix_HaltChannel(ch);
    }
  }
  Mix_FreeChunk(it->second.chunk);
  if (it->second.altChunk != nullptr) {
    Mix_FreeChunk(it->second.altChunk);
  }
  samples.erase(it);
}

bool playOnChannel(int32_t channel, SampleId sample, int32_t rateHz, float volume, bool loop) {
  auto it = samples.find(sample);
  if (!deviceOpen || it == samples.end() || channel < 0 ||
      channel >= static_cast<int32_t>(channelVolume.size())) {
    return false;
  }
  Mix_Chunk *chunk = chunkAtRate(it->second, rateHz);
  channelVolume[static_cast<size_t>(channel)] = volume;
  applyChannelVolume(channel);
  return Mix_PlayChannel(channel, chunk, loop ? -1 : 0) >= 0;
}

void stopChannel(int32_t channel) {
  if (deviceOpen && channel >= 0 && channel < static_cast<int32_t>(channelVolume.size())) {
    Mix_HaltChannel(channel);
  }
}

bool channelPlaying(int32_t channel) {
  return deviceOpen && channel >= 0 && channel < static_cast<int32_t>(channelVolume.size()) &&
         Mix_Playing(channel) != 0;
}

TuneId loadTune(const uint8_t *bytes, size_t size) {
  if (!deviceOpen || bytes == nullptr || size == 0) {
    return 0;
  }
  openmpt_module *mod = openmpt_module_create_from_memory2(bytes, size, openmpt_log_func_silent,
                                                           nullptr, openmpt_error_func_ignore,
                                                           nullptr, nullptr, nullptr, nullptr);
  if (mod == nullptr) {
    return 0;
  }
  openmpt_module_set_repeat_count(mod, -1);
  tunes[nextTune] = mod;
  return nextTune++;
}

// Installing the hook locks the device, so the audio thread never sees a
// module that is being switched or freed.
void playTune(TuneId tune) {
  auto it = tunes.find(tune);
  if (!deviceOpen || it == tunes.end()) {
    return;
  }
  Mix_HookMusic(nullptr, nullptr);
  openmpt_module_set_position_seconds(it->second, 0.0);
  Mix_HookMusic(renderTune, it->second);
  activeTune = tune;
}

void stopTune(TuneId tune) {
  if (deviceOpen && tune != 0 && tune == activeTune) {
    Mix_HookMusic(nullptr, nullptr);
    activeTune = 0;
  }
}

void freeTune(TuneId tune) {
  auto it = tunes.find(tune);
  if (it == tunes.end()) {
    return;
  }
  stopTune(tune);
  openmpt_module_destroy(it->second);
  tunes.erase(it);
}

void setEffectsGain(float gain) {
  effectsGain = gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain);
  if (!deviceOpen) {
    return;
  }
  for (int32_t ch = 0; ch < static_cast<int32_t>(channelVolume.size()); ++ch) {
    applyChannelVolume(ch);
  }
}

void setMusicGain(float gain) { musicGain = gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain); }

void pauseAudioOutput() {
  if (deviceOpen) {
    Mix_Pause(-1);
    musicPaused = true;
  }
}

void resumeAudioOutput() {
  if (deviceOpen) {
    Mix_Resume(-1);
    musicPaused = false;
  }
}
