// Each tracker writer, read back by libopenmpt: the counts written, the pitch
// of a note, volumes, fades, note-offs, looping and the song's timing.
#include <gtest/gtest.h>
#include <cmath>
#include "module_reader.h"
#include "song.h"

namespace {
constexpr int32_t RATE = 22000; // 50 frames per cycle of A4

// Speed 6 at 150 BPM, as the composer writes: a row lasts 0.1 s and a
// pattern 6.4 s.
Song probeSong(int32_t channels) {
  Song song;
  song.title = "probe";
  song.channels = channels;
  song.speed = 6;
  song.tempo = 150;
  Instrument tone;
  tone.name = "sine";
  tone.sampleRate = RATE;
  tone.rootNote = 69;
  for (int32_t i = 0; i < RATE; ++i) {
    tone.pcm.push_back(static_cast<int16_t>(std::lround(20000.0 * std::sin(2.0 * M_PI * i / 50.0))));
  }
  tone.loopStart = 0;
  tone.loopLength = RATE; // one second, looped
  Instrument click = tone;
  click.name = "blip";
  click.loopLength = 0;
  click.pcm.resize(RATE / 10); // a tenth of a second, once
  song.instruments = {tone, click};
  song.patterns.resize(3);
  for (auto &p : song.patterns) {
    p.cells.assign(static_cast<size_t>(PATTERN_ROWS * channels), Cell{});
  }
  // 0: loud A4, faded out from row 48. 1: quiet A4. 2: cut, then a one-shot.
  song.patterns[0].at(0, 0, channels) = {69, 1, 64, Fx::Speed, 6};
  song.patterns[0].at(0, 1, channels) = {NOTE_NONE, 0, 255, Fx::Tempo, 150};
  song.patterns[0].at(48, 0, channels) = {NOTE_NONE, 0, 255, Fx::VolumeDown, 0x0E};
  song.patterns[1].at(0, 0, channels) = {69, 1, 16, Fx::None, 0};
  song.patterns[1].at(32, 0, channels) = {72, 1, 16, Fx::None, 0};
  song.patterns[2].at(0, 0, channels) = {NOTE_OFF, 0, 255, Fx::None, 0};
  song.patterns[2].at(32, 2, channels) = {69, 2, 64, Fx::None, 0};
  // Something in the last channel, so formats that count used channels see all.
  song.patterns[1].at(63, channels - 1, channels) = {NOTE_NONE, 0, 255, Fx::VolumeDown, 1};
  song.orders = {0, 1, 2, 1};
  return song;
}

// Frequency from rising zero crossings between two times.
double frequency(const std::vector<float> &v, double from, double to) {
  size_t a = static_cast<size_t>(from * 44100.0);
  size_t b = std::min(v.size(), static_cast<size_t>(to * 44100.0));
  size_t first = 0;
  size_t last = 0;
  int crossings = 0;
  for (size_t i = a + 1; i < b; ++i) {
    if (v[i - 1] < 0.0f && v[i] >= 0.0f) {
      if (crossings == 0) {
        first = i;
      }
      last = i;
      ++crossings;
    }
  }
  return crossings > 1 ? (crossings - 1) * 44100.0 / static_cast<double>(last - first) : 0.0;
}

double rmsBetween(const std::vector<float> &v, double from, double to) {
  return rms(v, static_cast<size_t>(from * 44100.0), static_cast<size_t>(to * 44100.0));
}

struct Case {
  TuneFormat format;
  const char *type;
  int32_t channels;
  int32_t samplesReported; // a MOD always has 31 sample slots
};

class WriterReadBack : public ::testing::TestWithParam<Case> {};

TEST_P(WriterReadBack, CountsWrittenAreTheCountsRead) {
  const Case &c = GetParam();
  Song song = probeSong(c.channels);
  ModuleInfo info = readModule(writeSong(song, c.format));
  ASSERT_TRUE(info.loaded);
  EXPECT_EQ(info.type, c.type);
  EXPECT_EQ(info.warnings, "");
  EXPECT_EQ(info.samples, c.samplesReported);
  EXPECT_EQ(info.patterns, 3);
  EXPECT_EQ(info.orders, 4);
  EXPECT_EQ(info.channels, c.channels);
  EXPECT_NEAR(info.seconds, 4 * 6.4, 0.01);
}

TEST_P(WriterReadBack, NotesVolumesFadesAndCutsSoundAsWritten) {
  const Case &c = GetParam();
  auto out = renderModule(writeSong(probeSong(c.channels), c.format), 0.0, 20.0);
  ASSERT_GE(out.size(), static_cast<size_t>(19.9 * 44100));
  EXPECT_NEAR(frequency(out, 0.2, 1.2), 440.0, 440.0 * 0.01);
  EXPECT_NEAR(frequency(out, 10.0, 11.0), 523.25, 523.25 * 0.01);
  // Still sounding after the one-second sample: the loop works.
  double loud = rmsBetween(out, 2.0, 3.0);
  EXPECT_GT(loud, 0.02);
  // The fade on row 48 silences the note within its row.
  EXPECT_LT(rmsBetween(out, 4.95, 6.3), loud * 0.02);
  // Volume 16 of 64 is a quarter of the amplitude.
  EXPECT_NEAR(rmsBetween(out, 6.6, 8.0) / loud, 0.25, 0.05);
  // The note-off stops it; the one-shot sounds once and ends.
  EXPECT_LT(rmsBetween(out, 12.9, 16.0), loud * 0.02);
  EXPECT_GT(rmsBetween(out, 16.0, 16.1), loud * 0.3);
  EXPECT_LT(rmsBetween(out, 16.3, 19.0), loud * 0.02);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, WriterReadBack,
                         ::testing::Values(Case{TuneFormat::Mod, "mod", 4, 31}, Case{TuneFormat::S3m, "s3m", 4, 2},
                                           Case{TuneFormat::Xm, "xm", 4, 2}, Case{TuneFormat::It, "it", 4, 2}),
                         [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.type); });

TEST(WriterReadBack, WideFormatsKeepTenChannelsAndOddCountsRoundUpInXm) {
  for (TuneFormat f : {TuneFormat::S3m, TuneFormat::It}) {
    EXPECT_EQ(readModule(writeSong(probeSong(10), f)).channels, 10);
  }
  EXPECT_EQ(readModule(writeSong(probeSong(5), TuneFormat::Xm)).channels, 6);
}
} // namespace
