// Shared set-up for the audio tests: a temporary data folder holding small
// stand-in effect and tune files, and the audio globals back at their start.
#pragma once
#include <string>
#include <vector>
#include "audio/audio.h"
#include "common/files.h"
#include "platform/headless/headless.h"
#include "test_support.h"

// A minimal RIFF WAV header with a few frames: enough for a device to accept.
inline std::vector<uint8_t> standInWav() {
  return {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
          1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0,
          'd', 'a', 't', 'a', 4, 0, 0, 0, 1, 0, 2, 0};
}

// Bytes carrying the signature of the format that the file name's extension says.
inline std::vector<uint8_t> standInTune(const std::string &path) {
  std::vector<uint8_t> t(1200, 0);
  auto put = [&](size_t at, const char *tag) {
    for (size_t i = 0; tag[i] != '\0'; ++i) {
      t[at + i] = static_cast<uint8_t>(tag[i]);
    }
  };
  if (path.ends_with(".xm")) {
    put(0, "Extended Module: ");
  } else if (path.ends_with(".s3m")) {
    put(0x2C, "SCRM");
  } else if (path.ends_with(".it")) {
    put(0, "IMPM");
  } else {
    put(1080, "M.K.");
  }
  return t;
}

inline void writeStandInAudioFiles() {
  for (int i = 0; i < EFFECT_COUNT; ++i) {
    std::string path = "data/w" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".wav";
    replaceFileAtomically(path.c_str(), standInWav());
  }
  for (int32_t n = 0; n <= 20; ++n) {
    replaceFileAtomically(tuneFile(n), standInTune(tuneFile(n)));
  }
}

// Every audio global as a fresh start leaves it, with the given volumes.
inline void resetAudioGlobals(int32_t effects, int32_t music) {
  shutdownAudio();
  // A test that loaded the effects by hand, without a device, leaves their
  // handles behind: shutdownAudio only clears what an open device loaded.
  for (auto &sample : effectSamples) {
    sample = 0;
  }
  audioReady = 0;
  currentMusic = -1;
  effectsVolume = effects;
  musicVolume = music;
  musicNumber = 1;
  lastMusicNumber = 1;
  volumeKeyHeld = 0;
  volumeDisplayFrames = 0;
  volumeDisplayWhich = 0;
}

// Calls of one kind in the device log.
inline std::vector<AudioRecord> audioCalls(AudioCall call) {
  std::vector<AudioRecord> out;
  for (const auto &r : headless::audioLog()) {
    if (r.call == call) {
      out.push_back(r);
    }
  }
  return out;
}
