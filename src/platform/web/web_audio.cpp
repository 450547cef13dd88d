// SPDX-License-Identifier: MIT
// Sound in a browser page: the effects through Web Audio (one source per
// channel, a new play takes the channel over), the tunes through libopenmpt
// in an AudioWorklet (the chiptune3 player), both under their gain. The
// page's script (Module.peltaAudio) owns the audio graph; browsers let it
// sound only after the player's first key press or click.
#include "platform/audio_device.h"
#include <cstring>
#include <emscripten/emscripten.h>
#include <vector>

namespace {
bool deviceOpen = false;
int channelCount = 0;

EM_JS(int, jsOpen, (int channels), {
  return Module.peltaAudio ? (Module.peltaAudio.open(channels) ? 1 : 0) : 0;
});
EM_JS(void, jsClose, (), { Module.peltaAudio.close(); });
EM_JS(int, jsLoadSample, (const float *data, int frames, int channels, int rate), {
  return Module.peltaAudio.loadSample(HEAPF32.subarray(data >> 2, (data >> 2) + frames * channels),
                                      frames, channels, rate);
});
EM_JS(void, jsFreeSample, (int id), { Module.peltaAudio.freeSample(id); });
EM_JS(int, jsPlay, (int channel, int sample, int rate, double volume, int loop), {
  return Module.peltaAudio.play(channel, sample, rate, volume, loop !== 0) ? 1 : 0;
});
EM_JS(void, jsStop, (int channel), { Module.peltaAudio.stop(channel); });
EM_JS(int, jsPlaying, (int channel), { return Module.peltaAudio.playing(channel) ? 1 : 0; });
EM_JS(int, jsLoadTune, (const uint8_t *bytes, int size), {
  return Module.peltaAudio.loadTune(HEAPU8.slice(bytes, bytes + size).buffer);
});
EM_JS(void, jsPlayTune, (int id), { Module.peltaAudio.playTune(id); });
EM_JS(void, jsStopTune, (int id), { Module.peltaAudio.stopTune(id); });
EM_JS(void, jsFreeTune, (int id), { Module.peltaAudio.freeTune(id); });
EM_JS(void, jsGains, (double effects, double music), { Module.peltaAudio.gains(effects, music); });
EM_JS(void, jsPause, (int paused), { Module.peltaAudio.pause(paused !== 0); });

float effectsGain = 1.0f;
float musicGain = 1.0f;

uint32_t le32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

// A RIFF WAV of 8- or 16-bit PCM into interleaved floats; false when it is none.
bool decodeWav(const uint8_t *w, size_t size, std::vector<float> &out, int *channels, int *rate) {
  if (size < 12 || std::memcmp(w, "RIFF", 4) != 0 || std::memcmp(w + 8, "WAVE", 4) != 0) {
    return false;
  }
  int bits = 0;
  *channels = 0;
  size_t at = 12;
  while (at + 8 <= size) {
    const uint32_t len = le32(w + at + 4);
    const uint8_t *body = w + at + 8;
    if (len > size - at - 8) {
      return false;
    }
    if (std::memcmp(w + at, "fmt ", 4) == 0 && len >= 16) {
      if (le16(body) != 1) {
        return false; // PCM only
      }
      *channels = le16(body + 2);
      *rate = int(le32(body + 4));
      bits = le16(body + 14);
    } else if (std::memcmp(w + at, "data", 4) == 0) {
      if (*channels < 1 || *channels > 2 || *rate <= 0 || (bits != 8 && bits != 16)) {
        return false;
      }
      const size_t values = len / (bits / 8);
      out.resize(values - values % size_t(*channels));
      for (size_t i = 0; i < out.size(); ++i) {
        out[i] = bits == 8 ? (float(body[i]) - 128.0f) / 128.0f
                           : float(int16_t(le16(body + 2 * i))) / 32768.0f;
      }
      return !out.empty();
    }
    at += 8 + len + (len & 1);
  }
  return false;
}

} // namespace

bool openAudioDevice(int32_t, int32_t channels) {
  if (!deviceOpen && jsOpen(channels) != 0) {
    deviceOpen = true;
    channelCount = channels;
  }
  return deviceOpen;
}

void closeAudioDevice() {
  if (deviceOpen) {
    jsClose();
    deviceOpen = false;
  }
}

SampleId loadSample(const uint8_t *bytes, size_t size) {
  if (!deviceOpen || bytes == nullptr) {
    return 0;
  }
  std::vector<float> pcm;
  int channels = 0;
  int rate = 0;
  if (!decodeWav(bytes, size, pcm, &channels, &rate)) {
    return 0;
  }
  return jsLoadSample(pcm.data(), int(pcm.size()) / channels, channels, rate);
}

void freeSample(SampleId sample) {
  if (deviceOpen && sample > 0) {
    jsFreeSample(sample);
  }
}

bool playOnChannel(int32_t channel, SampleId sample, int32_t rateHz, float volume, bool loop) {
  if (!deviceOpen || sample <= 0 || channel < 0 || channel >= channelCount) {
    return false;
  }
  return jsPlay(channel, sample, rateHz, volume, loop ? 1 : 0) != 0;
}

void stopChannel(int32_t channel) {
  if (deviceOpen && channel >= 0 && channel < channelCount) {
    jsStop(channel);
  }
}

bool channelPlaying(int32_t channel) {
  return deviceOpen && channel >= 0 && channel < channelCount && jsPlaying(channel) != 0;
}

TuneId loadTune(const uint8_t *bytes, size_t size) {
  if (!deviceOpen || bytes == nullptr || size < 4) {
    return 0;
  }
  return jsLoadTune(bytes, int(size));
}

void playTune(TuneId tune) {
  if (deviceOpen && tune > 0) {
    jsPlayTune(tune);
  }
}

void stopTune(TuneId tune) {
  if (deviceOpen && tune > 0) {
    jsStopTune(tune);
  }
}

void freeTune(TuneId tune) {
  if (deviceOpen && tune > 0) {
    jsFreeTune(tune);
  }
}

void setEffectsGain(float gain) {
  effectsGain = gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain);
  if (deviceOpen) {
    jsGains(effectsGain, musicGain);
  }
}

void setMusicGain(float gain) {
  musicGain = gain < 0.0f ? 0.0f : (gain > 1.0f ? 1.0f : gain);
  if (deviceOpen) {
    jsGains(effectsGain, musicGain);
  }
}

void pauseAudioOutput() {
  if (deviceOpen) {
    jsPause(1);
  }
}

void resumeAudioOutput() {
  if (deviceOpen) {
    jsPause(0);
  }
}
