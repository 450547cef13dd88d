#include "audio/audio.h"
#include "common/files.h"
#include "persistence/settings_file.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
void builtIn() {
  effectsVolume = 0;
  musicVolume = 252;
  musicNumber = 1;
  lastMusicNumber = 1;
}

std::vector<uint8_t> settingsBytes(int32_t a, int32_t b, int32_t c, int32_t d) {
  std::vector<uint8_t> bytes(16);
  writeLe32(bytes.data(), static_cast<uint32_t>(a));
  writeLe32(bytes.data() + 4, static_cast<uint32_t>(b));
  writeLe32(bytes.data() + 8, static_cast<uint32_t>(c));
  writeLe32(bytes.data() + 12, static_cast<uint32_t>(d));
  return bytes;
}
} // namespace

TEST(SettingsFile, MissingFileKeepsBuiltInsAndExitWritesSixteenBytes) {
  makeTempRoot();
  builtIn();
  readSettings();
  EXPECT_EQ(effectsVolume, 0);
  EXPECT_EQ(musicVolume, 252);
  EXPECT_EQ(musicNumber, 1);
  EXPECT_EQ(lastMusicNumber, 1);
  musicNumber = MUSIC_SILENT;
  lastMusicNumber = 7;
  effectsVolume = 10000;
  ASSERT_TRUE(writeSettings());
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile(SETTINGS_FILE, bytes));
  EXPECT_EQ(bytes, settingsBytes(10000, 252, 21, 7));
  builtIn();
  readSettings();
  EXPECT_EQ(effectsVolume, 10000);
  EXPECT_EQ(musicNumber, MUSIC_SILENT); // silence is kept from run to run
  EXPECT_EQ(lastMusicNumber, 7);
}

TEST(SettingsFile, ShortFileReplacesOnlyTheBytesItHolds) {
  makeTempRoot();
  std::vector<uint8_t> bytes = settingsBytes(1234, 0x00000300, 5, 6);
  bytes.resize(5); // all of the first value and the low byte of the second
  ASSERT_TRUE(replaceFileAtomically(SETTINGS_FILE, bytes));
  builtIn();
  readSettings();
  EXPECT_EQ(effectsVolume, 1234);
  EXPECT_EQ(musicVolume, 0); // 252 = 0xFC with its low byte replaced by 0
  EXPECT_EQ(musicNumber, 1);
  EXPECT_EQ(lastMusicNumber, 1);
}

TEST(SettingsFile, LongFileKeepsItsExtraBytes) {
  makeTempRoot();
  std::vector<uint8_t> bytes = settingsBytes(100, 200, 3, 4);
  bytes.insert(bytes.end(), {9, 8, 7, 6, 5});
  ASSERT_TRUE(replaceFileAtomically(SETTINGS_FILE, bytes));
  builtIn();
  readSettings();
  EXPECT_EQ(musicVolume, 200);
  EXPECT_EQ(lastMusicNumber, 4);
  musicVolume = 300;
  ASSERT_TRUE(writeSettings());
  std::vector<uint8_t> after;
  ASSERT_TRUE(readWholeFile(SETTINGS_FILE, after));
  std::vector<uint8_t> expected = settingsBytes(100, 300, 3, 4);
  expected.insert(expected.end(), {9, 8, 7, 6, 5});
  EXPECT_EQ(after, expected);
}

TEST(SettingsFile, ValuesOutOfRangeAreBroughtIntoRange) {
  builtIn();
  std::vector<uint8_t> bytes = settingsBytes(-5, 20000, 22, 21);
  applySettingsBytes(bytes.data(), bytes.size());
  EXPECT_EQ(effectsVolume, 0);
  EXPECT_EQ(musicVolume, 10000);
  EXPECT_EQ(musicNumber, 1);
  EXPECT_EQ(lastMusicNumber, 1); // S would bring back silence otherwise
  bytes = settingsBytes(10000, 0, 0, 20);
  applySettingsBytes(bytes.data(), bytes.size());
  EXPECT_EQ(effectsVolume, 10000);
  EXPECT_EQ(musicVolume, 0);
  EXPECT_EQ(musicNumber, 1); // tune 0 is the menu's, never an in-game choice
  EXPECT_EQ(lastMusicNumber, 20);
}
