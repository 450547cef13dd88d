// The volume keys: one step per press, the shared latch of the four keys,
// Home/End only in the game, the bounds, and the status-line counter.
#include "audio_fixture.h"
#include "platform/input.h"
#include "shell/shell.h"
#include "state/screen_state.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <string>

namespace {
class VolumeKeys : public ::testing::Test {
protected:
  void SetUp() override {
    resetAudioGlobals(5000, 5000);
    headless::reset();
    screenState = Game;
  }
  void TearDown() override {
    screenState = MainMenu;
    resetAudioGlobals(0, 252);
  }
  // One frame's call with exactly these keys down.
  void frame(std::initializer_list<int> keys) {
    for (int vk : {VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) {
      headless::setKey(vk, false);
    }
    for (int vk : keys) {
      headless::setKey(vk, true);
    }
    handleVolumeKeys(screenState == Game); // as runFrame passes it
  }
};

TEST_F(VolumeKeys, HoldingAKeyStepsOnceAndAFreshPressStepsAgain) {
  for (int i = 0; i < 100; ++i) {
    frame({VK_PRIOR});
  }
  EXPECT_EQ(musicVolume, 6000);
  frame({});
  frame({VK_PRIOR});
  EXPECT_EQ(musicVolume, 7000);
  frame({});
  for (int i = 0; i < 30; ++i) {
    frame({VK_END});
  }
  EXPECT_EQ(effectsVolume, 4000);
  EXPECT_EQ(volumeDisplayWhich, 1);
}

TEST_F(VolumeKeys, AHeldKeyBlocksTheOtherThreeUntilAllAreUp) {
  frame({VK_NEXT});
  EXPECT_EQ(musicVolume, 4000);
  frame({VK_NEXT, VK_HOME});
  frame({VK_HOME});
  frame({VK_END, VK_PRIOR});
  EXPECT_EQ(musicVolume, 4000);
  EXPECT_EQ(effectsVolume, 5000);
  frame({});
  frame({VK_HOME});
  EXPECT_EQ(effectsVolume, 6000);
}

TEST_F(VolumeKeys, PageUpAndHomeInOneFrameBothActAndTheEffectsVolumeIsShown) {
  frame({VK_PRIOR, VK_HOME});
  EXPECT_EQ(musicVolume, 6000);
  EXPECT_EQ(effectsVolume, 6000);
  EXPECT_EQ(volumeDisplayWhich, 1);
  EXPECT_EQ(volumeDisplayFrames, 59);
  // Page Down beats Page Up, and Home beats End, when both are down.
  frame({});
  frame({VK_PRIOR, VK_NEXT, VK_HOME, VK_END});
  EXPECT_EQ(musicVolume, 7000);
  EXPECT_EQ(effectsVolume, 7000);
}

// Each key pressed alone on every screen, through the whole frame the game
// runs: Home and End change nothing outside the game (not even the latch
// that would block Page Up and Down there).
TEST(VolumeKeysInAFrame, HomeAndEndOnlyActInTheGameWhilePageKeysActEverywhere) {
  for (uint8_t screen : {MainMenu, TopTen, NameEntry, Instructions, Game}) {
    for (int vk : {VK_HOME, VK_END, VK_PRIOR, VK_NEXT}) {
      startHeadless();
      changeScreen(screen);
      keyLatch = 0;
      runFrames(1); // the screen's set-up
      ASSERT_EQ(screenState, screen);
      resetAudioGlobals(5000, 5000);
      volumeKeyHeld = 0;
      volumeDisplayFrames = 0;
      pressKey(vk);
      runFrames(1);
      releaseKey(vk);
      const bool effectsKey = vk == VK_HOME || vk == VK_END;
      const bool acts = !effectsKey || screen == Game;
      const int32_t stepped = vk == VK_HOME || vk == VK_PRIOR ? 6000 : 4000;
      SCOPED_TRACE("screen " + std::to_string(screen) + ", key " + std::to_string(vk));
      EXPECT_EQ(effectsVolume, effectsKey && acts ? stepped : 5000);
      EXPECT_EQ(musicVolume, effectsKey ? 5000 : stepped);
      EXPECT_EQ(volumeKeyHeld, acts ? 1 : 0);
      EXPECT_EQ(volumeDisplayFrames, acts ? 59 : 0);
    }
  }
}

TEST_F(VolumeKeys, VolumesStayWithinSilenceAndFullVolume) {
  musicVolume = 252; // the start value when no settings file exists
  frame({VK_NEXT});
  EXPECT_EQ(musicVolume, 0);
  frame({});
  frame({VK_NEXT});
  EXPECT_EQ(musicVolume, 0);
  std::vector<int32_t> steps;
  musicVolume = 252;
  for (int i = 0; i < 12; ++i) {
    frame({});
    frame({VK_PRIOR});
    steps.push_back(musicVolume);
  }
  std::vector<int32_t> expected = {1252, 2252, 3252, 4252, 5252, 6252, 7252, 8252, 9252, 10000, 10000, 10000};
  EXPECT_EQ(steps, expected);
  effectsVolume = 10000;
  frame({});
  frame({VK_HOME});
  EXPECT_EQ(effectsVolume, 10000);
  EXPECT_EQ(volumeDisplayFrames, 59); // shown even when nothing changed
  effectsVolume = 0;
  frame({});
  frame({VK_END});
  EXPECT_EQ(effectsVolume, 0);
}

TEST_F(VolumeKeys, TheStatusLineShowsAChangeFor59FramesAfterItsOwn) {
  frame({VK_PRIOR});
  EXPECT_EQ(volumeDisplayFrames, 59);
  EXPECT_EQ(volumeDisplayWhich, 0);
  for (int i = 58; i >= 0; --i) {
    frame({i % 2 == 0 ? VK_PRIOR : VK_NEXT}); // held keys keep counting down
    EXPECT_EQ(volumeDisplayFrames, i);
  }
  frame({});
  EXPECT_EQ(volumeDisplayFrames, 0);
}

TEST_F(VolumeKeys, WithADeviceEachStepSetsTheLinearGain) {
  makeTempRoot();
  writeStandInAudioFiles();
  initAudio();
  ASSERT_EQ(audioReady, 1);
  headless::clearAudioLog();
  frame({VK_PRIOR, VK_END});
  auto music = audioCalls(AudioCall::MusicGain);
  auto effects = audioCalls(AudioCall::EffectsGain);
  ASSERT_EQ(music.size(), 1u);
  ASSERT_EQ(effects.size(), 1u);
  EXPECT_FLOAT_EQ(music[0].value, 0.6f);
  EXPECT_FLOAT_EQ(effects[0].value, 0.4f);
}
} // namespace
