// The generated tunes as the game's tracker library sees them.
#include "composer.h"
#include "module_reader.h"
#include "sounds.h"
#include <gtest/gtest.h>
#include <set>

namespace {
const char *const FILE_NAMES[TUNE_COUNT] = {
    "xm00.xm",  "xm01.s3m", "xm02.s3m", "xm03.s3m", "xm04.xm",  "xm05.mod", "xm06.mod",
    "xm07.mod", "xm08.mod", "xm09.s3m", "xm10.xm",  "xm11.mod", "xm12.mod", "xm13.mod",
    "xm14.it",  "xm15.s3m", "xm16.mod", "xm17.xm",  "xm18.xm",  "xm19.mod", "xm20.xm"};

class TuneFile : public ::testing::TestWithParam<int> {};

TEST_P(TuneFile, LoadsCleanlyAsItsFormatAndLastsAMinute) {
  int n = GetParam();
  std::string name = tuneFileName(n);
  EXPECT_EQ(name, FILE_NAMES[n]);
  std::string extension = name.substr(name.find('.') + 1);
  Song song = composeSong(tuneRecipe(n));
  ModuleInfo info = readModule(tuneBytes(n));
  ASSERT_TRUE(info.loaded);
  EXPECT_EQ(info.warnings, "");
  EXPECT_EQ(info.type, extension);
  EXPECT_NE(info.tracker, "Unknown");
  EXPECT_GE(info.seconds, 60.0);
  // The player counts whole samples a tick, so long passes drift a little.
  EXPECT_NEAR(info.seconds, songSeconds(song), 0.0015 * info.seconds);
  EXPECT_EQ(info.orders, static_cast<int32_t>(song.orders.size()));
  EXPECT_EQ(info.patterns, static_cast<int32_t>(song.patterns.size()));
  EXPECT_EQ(info.samples, extension == "mod" ? 31 : static_cast<int32_t>(song.instruments.size()));
  // An XM holds an even number of channels.
  EXPECT_EQ(info.channels, extension == "mod"
                               ? 4
                               : (extension == "xm" ? (song.channels + 1) / 2 * 2 : song.channels));
}

TEST_P(TuneFile, SoundsThroughoutAndRunsStraightBackIntoItsStart) {
  int n = GetParam();
  std::vector<uint8_t> bytes = tuneBytes(n);
  auto middle = renderModule(bytes, 20.0, 4.0);
  double level = rms(middle);
  EXPECT_GT(level, 0.03);
  float peak = 0.0f;
  for (float v : middle) {
    peak = std::max(peak, std::fabs(v));
  }
  EXPECT_LT(peak, 1.0f); // no clipping

  // Across the loop point: the end, then the start again, with no gap.
  std::string log;
  openmpt_module *mod = openModule(bytes, &log);
  ASSERT_NE(mod, nullptr);
  openmpt_module_set_repeat_count(mod, -1);
  double length = openmpt_module_get_duration_seconds(mod);
  openmpt_module_set_position_seconds(mod, length - 1.0);
  std::vector<float> stereo(2 * 44100 * 2);
  size_t got = openmpt_module_read_interleaved_float_stereo(mod, 44100, 2 * 44100, stereo.data());
  openmpt_module_destroy(mod);
  ASSERT_EQ(got, static_cast<size_t>(2 * 44100));
  for (int quarter = 0; quarter < 8; ++quarter) {
    EXPECT_GT(
        rms(stereo, static_cast<size_t>(quarter) * 22050, static_cast<size_t>(quarter + 1) * 22050),
        0.005)
        << "quarter second " << quarter << " around the loop";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryTune, TuneFile, ::testing::Range(0, TUNE_COUNT));

TEST(Tunes, EachHasItsOwnKeyTempoAndMusicAndTheOutputIsReproducible) {
  std::set<std::vector<uint8_t>> contents;
  std::set<std::pair<int32_t, bool>> keyTempo;
  for (int n = 0; n < TUNE_COUNT; ++n) {
    contents.insert(tuneBytes(n));
    const TuneRecipe &recipe = tuneRecipe(n);
    keyTempo.insert({recipe.tempo, recipe.minor});
  }
  EXPECT_EQ(contents.size(), static_cast<size_t>(TUNE_COUNT));
  EXPECT_EQ(keyTempo.size(), static_cast<size_t>(TUNE_COUNT));
  EXPECT_EQ(tuneBytes(0), tuneBytes(0));
  EXPECT_TRUE(tuneBytes(TUNE_COUNT).empty());
  EXPECT_EQ(tuneFileName(-1), "");
}
} // namespace
