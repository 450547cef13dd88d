// The generated effect files and the default settings file.
#include "assetgen.h"
#include "sounds.h"
#include "synth.h"
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

// The generator's file writer, for the sound writers linked into this test.
bool writeIfChanged(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

namespace {
uint32_t le32(const std::vector<uint8_t> &b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
uint16_t le16(const std::vector<uint8_t> &b, size_t at) {
  return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::vector<uint8_t> readFile(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tempDir() {
  char pattern[] = "/tmp/pelta-sounds-XXXXXX";
  char *dir = mkdtemp(pattern);
  return dir ? dir : "/tmp";
}

// Parses the WAV and returns its frames; fails the test on a wrong header.
std::vector<int16_t> parseWav(const std::vector<uint8_t> &w) {
  std::vector<int16_t> frames;
  EXPECT_GE(w.size(), 44u);
  if (w.size() < 44) {
    return frames;
  }
  EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 12), "WAVE");
  EXPECT_EQ(std::string(w.begin() + 12, w.begin() + 16), "fmt ");
  EXPECT_EQ(le16(w, 20), 1); // PCM
  EXPECT_EQ(le16(w, 22), 1); // mono
  EXPECT_EQ(le32(w, 24), 22050u);
  EXPECT_EQ(le16(w, 34), 16);
  EXPECT_EQ(std::string(w.begin() + 36, w.begin() + 40), "data");
  uint32_t bytes = le32(w, 40);
  EXPECT_EQ(bytes + 44, w.size());
  EXPECT_EQ(le32(w, 4), w.size() - 8);
  for (size_t i = 44; i + 1 < w.size(); i += 2) {
    frames.push_back(static_cast<int16_t>(le16(w, i)));
  }
  return frames;
}

TEST(EffectFiles, EveryEffectIsAnAudibleMono22050HzWavOfPlausibleLength) {
  std::vector<size_t> lengths;
  for (int i = 0; i < EFFECT_FILE_COUNT; ++i) {
    SCOPED_TRACE("effect " + std::to_string(i));
    auto frames = parseWav(encodeWav(effectSound(i), EFFECT_SAMPLE_RATE));
    ASSERT_FALSE(frames.empty());
    double seconds = static_cast<double>(frames.size()) / 22050.0;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 3.0);
    int peak = 0;
    for (int16_t s : frames) {
      peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    EXPECT_GT(peak, 1000); // how loud each one is, the sound check measures
    if (i != 5) {
      // A one-shot starts and ends near silence, so it does not click.
      EXPECT_LT(std::abs(static_cast<int>(frames.back())), 600);
      EXPECT_LT(std::abs(static_cast<int>(frames.front())), 3000);
    }
    lengths.push_back(frames.size());
  }
  // The three level-complete sounds grow with the result: 75, 80, 90 percent.
  EXPECT_LT(lengths[10], lengths[9]);
  EXPECT_LT(lengths[9], lengths[2]);
  EXPECT_TRUE(effectSound(EFFECT_FILE_COUNT).empty());
}

TEST(EffectFiles, TheTrackHumLoopsWithoutAClick) {
  auto hum = effectSound(5);
  ASSERT_GT(hum.size(), 1000u);
  int largestStep = 0;
  for (size_t i = 1; i < hum.size(); ++i) {
    largestStep = std::max(largestStep, std::abs(hum[i] - hum[i - 1]));
  }
  // Going from the last frame back to the first is no bigger a step than any
  // step inside the sound.
  EXPECT_LE(std::abs(hum.front() - hum.back()), largestStep);
  EXPECT_LT(std::abs(hum.front() - hum.back()), 2000);
}

TEST(EffectFiles, TheGeneratorWritesEverySoundFileUnderItsName) {
  std::string dir = tempDir();
  ASSERT_TRUE(generateSounds(dir));
  ASSERT_TRUE(generateTunes(dir));
  for (int i = 0; i < EFFECT_FILE_COUNT; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "/w%02d.wav", i);
    EXPECT_EQ(readFile(dir + name), encodeWav(effectSound(i), EFFECT_SAMPLE_RATE));
  }
  for (int n = 0; n < TUNE_COUNT; ++n) {
    EXPECT_EQ(readFile(dir + "/" + tuneFileName(n)), tuneBytes(n));
  }
}

TEST(DefaultSettings, WrittenWithAudibleVolumesOnlyWhenNoneExists) {
  std::string dir = tempDir();
  ASSERT_TRUE(generateDefaultSettings(dir));
  auto bytes = readFile(dir + "/setting.pta");
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(le32(bytes, 0), 8000u); // effects
  EXPECT_EQ(le32(bytes, 4), 7000u); // music
  EXPECT_EQ(le32(bytes, 8), 1u);    // tune
  EXPECT_EQ(le32(bytes, 12), 1u);   // last tune
  // A player's own settings stay as they are, extra bytes included.
  std::vector<uint8_t> own(20, 0);
  own[0] = 0x10;
  own[19] = 0x55;
  writeIfChanged(dir + "/setting.pta", own);
  ASSERT_TRUE(generateDefaultSettings(dir));
  EXPECT_EQ(readFile(dir + "/setting.pta"), own);
}
} // namespace
