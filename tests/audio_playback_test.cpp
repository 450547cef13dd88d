// Effects on their channels, the one looping tune, pause and resume, and the
// game running without a sound device.
#include <gtest/gtest.h>
#include <cstdio>
#include "audio_fixture.h"
#include "platform/input.h"
#include "shell/shell.h"

namespace {
class AudioPlayback : public ::testing::Test {
protected:
  void SetUp() override {
    resetAudioGlobals(8000, 7000);
    headless::reset();
    makeTempRoot();
    writeStandInAudioFiles();
    initAudio();
    ASSERT_EQ(audioReady, 1);
    headless::clearAudioLog();
  }
  void TearDown() override { resetAudioGlobals(0, 252); }

  int32_t playedChannel() {
    auto plays = audioCalls(AudioCall::PlayChannel);
    return plays.empty() ? -1 : plays.back().channel;
  }
};

TEST_F(AudioPlayback, StartLoadsEveryEffectAndHandsOverBothVolumes) {
  resetAudioGlobals(8000, 7000);
  headless::clearAudioLog();
  initAudio();
  for (int i = 0; i < EFFECT_COUNT; ++i) {
    EXPECT_NE(effectSamples[i], 0) << "effect " << i;
    for (int j = 0; j < i; ++j) {
      EXPECT_NE(effectSamples[i], effectSamples[j]);
    }
  }
  auto effects = audioCalls(AudioCall::EffectsGain);
  auto music = audioCalls(AudioCall::MusicGain);
  ASSERT_EQ(effects.size(), 1u);
  ASSERT_EQ(music.size(), 1u);
  EXPECT_FLOAT_EQ(effects[0].value, 0.8f);
  EXPECT_FLOAT_EQ(music[0].value, 0.7f);
}

TEST_F(AudioPlayback, TickAndCaptureAllowThreePlaysAndTheFourthTakesOverTheOldest) {
  for (int effect : {EFFECT_TICK, EFFECT_CAPTURE}) {
    int32_t first = effectFirstChannel(effect);
    for (int n = 0; n < 3; ++n) {
      playEffect(effect);
      EXPECT_EQ(playedChannel(), first + n);
    }
    playEffect(effect); // all three busy: the oldest, the first, is taken over
    EXPECT_EQ(playedChannel(), first);
    playEffect(effect); // now the second is the oldest
    EXPECT_EQ(playedChannel(), first + 1);
    headless::finishChannel(first + 2); // a play that ended frees its channel
    playEffect(effect);
    EXPECT_EQ(playedChannel(), first + 2);
  }
  // Every play is at 22050 Hz and full volume, and only the hum loops.
  for (const auto &r : audioCalls(AudioCall::PlayChannel)) {
    EXPECT_EQ(r.rate, 22050);
    EXPECT_FLOAT_EQ(r.value, 1.0f);
    EXPECT_FALSE(r.loop);
  }
}

TEST_F(AudioPlayback, OtherEffectsHaveOneChannelEachAndNeverShareOne) {
  std::vector<int32_t> seen;
  for (int effect = 2; effect < EFFECT_COUNT; ++effect) {
    playEffect(effect);
    int32_t ch = playedChannel();
    EXPECT_EQ(ch, effectFirstChannel(effect));
    EXPECT_EQ(headless::channelSample(ch), effectSamples[effect]);
    playEffect(effect); // a second play restarts on the same channel
    EXPECT_EQ(playedChannel(), ch);
    for (int32_t other : seen) {
      EXPECT_NE(other, ch);
    }
    seen.push_back(ch);
    EXPECT_LT(ch, EFFECT_CHANNEL_COUNT);
  }
}

TEST_F(AudioPlayback, TrackHumLoopsUntilStoppedAndStopsLeaveTheFailBuzz) {
  playEffect(EFFECT_TRACK);
  auto plays = audioCalls(AudioCall::PlayChannel);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_TRUE(plays[0].loop);
  int32_t hum = plays[0].channel;
  playEffect(EFFECT_CRASH);
  stopEffect(EFFECT_TRACK);
  EXPECT_EQ(headless::channelSample(hum), 0);
  EXPECT_EQ(headless::channelSample(effectFirstChannel(EFFECT_CRASH)), effectSamples[EFFECT_CRASH]);

  for (int effect = 0; effect < EFFECT_COUNT; ++effect) {
    playEffect(effect);
  }
  stopEffects();
  for (int effect = 0; effect < EFFECT_COUNT; ++effect) {
    bool sounding = headless::channelSample(effectFirstChannel(effect)) != 0;
    EXPECT_EQ(sounding, effect == EFFECT_SCREENSHOT_FAILED) << "effect " << effect;
  }
}

TEST_F(AudioPlayback, MissingOrZeroVolumeEffectsPlayNothing) {
  resetAudioGlobals(8000, 7000);
  std::remove(resolvePath("data/w03.wav").c_str());
  initAudio();
  EXPECT_EQ(effectSamples[EFFECT_CRASH], 0);
  EXPECT_NE(effectSamples[EFFECT_GAME_OVER], 0);
  headless::clearAudioLog();
  playEffect(EFFECT_CRASH);
  EXPECT_EQ(playSample(effectSamples[EFFECT_PICKUP], 22050, 0), 0);
  EXPECT_EQ(playSample(0, 22050, 255), 0);
  playEffect(EFFECT_COUNT); // out of range
  playEffect(-1);
  EXPECT_TRUE(audioCalls(AudioCall::PlayChannel).empty());
  EXPECT_EQ(playSample(effectSamples[EFFECT_PICKUP], 22050, 255), effectFirstChannel(EFFECT_PICKUP) + 1);
}

TEST_F(AudioPlayback, TheCurrentTuneGoesOnUndisturbedAndANewNumberReplacesIt) {
  selectMusic(MENU_MUSIC);
  EXPECT_EQ(currentMusic, MENU_MUSIC);
  TuneId menu = headless::tuneHeard();
  EXPECT_NE(menu, 0);
  playMusic(MENU_MUSIC, "data/xm00.xm"); // the menu on a revisit
  selectMusic(MENU_MUSIC);
  EXPECT_EQ(headless::tunesLoaded(), 1);
  EXPECT_EQ(audioCalls(AudioCall::PlayTune).size(), 1u);

  selectMusic(7);
  EXPECT_EQ(currentMusic, 7);
  EXPECT_EQ(headless::tunesLoaded(), 2);
  EXPECT_NE(headless::tuneHeard(), menu);
  selectMusic(MUSIC_SILENT); // silence has no file: the tune plays on
  selectMusic(-1);
  EXPECT_EQ(currentMusic, 7);
  EXPECT_NE(headless::tuneHeard(), 0);

  stopMusic();
  EXPECT_EQ(currentMusic, -1);
  EXPECT_EQ(headless::tuneHeard(), 0);
  selectMusic(7); // after a stop the same number loads again
  EXPECT_EQ(headless::tunesLoaded(), 3);

  // The menu's tune named with a backslash, read as a slash.
  playMusic(MENU_MUSIC, "data\\xm00.xm");
  EXPECT_EQ(headless::tunesLoaded(), 4);
  EXPECT_NE(headless::tuneHeard(), 0);
}

TEST_F(AudioPlayback, APreparedTuneStartsWithoutASecondLoadAndNoOtherNumberGetsIt) {
  prepareMusic(MENU_MUSIC);
  EXPECT_EQ(headless::tunesLoaded(), 1);
  EXPECT_EQ(headless::tuneHeard(), 0); // loaded, not heard before it is played
  playMusic(MENU_MUSIC, "data\\xm00.xm");
  EXPECT_EQ(headless::tunesLoaded(), 1);
  EXPECT_NE(headless::tuneHeard(), 0);
  prepareMusic(MENU_MUSIC); // the tune playing now: nothing to load
  EXPECT_EQ(headless::tunesLoaded(), 1);

  prepareMusic(2);
  selectMusic(3); // another number reads its own and drops the prepared one
  EXPECT_EQ(headless::tunesLoaded(), 3);
  selectMusic(2);
  EXPECT_EQ(headless::tunesLoaded(), 4);
  EXPECT_EQ(currentMusic, 2);
}

TEST_F(AudioPlayback, ATuneThatFailsToLoadStaysSilentUntilAnotherNumberIsPlayed) {
  selectMusic(2);
  std::remove(resolvePath("data/xm03.s3m").c_str());
  selectMusic(3);
  EXPECT_EQ(currentMusic, 3);
  EXPECT_EQ(headless::tuneHeard(), 0);
  int32_t loads = headless::tunesLoaded();
  replaceFileAtomically("data/xm03.s3m", standInTune("xm03.s3m"));
  selectMusic(3); // not tried again while 3 is current
  EXPECT_EQ(headless::tunesLoaded(), loads);
  EXPECT_EQ(headless::tuneHeard(), 0);
  selectMusic(4);
  selectMusic(3);
  EXPECT_EQ(headless::tunesLoaded(), loads + 2);
  EXPECT_NE(headless::tuneHeard(), 0);

  // A file that is there but is no module fails the same way.
  replaceFileAtomically("data/xm05.mod", std::vector<uint8_t>(64, 7));
  selectMusic(5);
  EXPECT_EQ(currentMusic, 5);
  EXPECT_EQ(headless::tuneHeard(), 0);
}

TEST_F(AudioPlayback, FocusChangesPauseAndResumeAllOutputAndShutdownClosesTheDevice) {
  selectMusic(1);
  appActive = 1;
  handleWindowEvent(WindowEvent::Deactivated);
  EXPECT_TRUE(headless::audioPaused());
  handleWindowEvent(WindowEvent::Activated);
  EXPECT_FALSE(headless::audioPaused());
  EXPECT_EQ(audioCalls(AudioCall::Pause).size(), 1u);
  EXPECT_EQ(audioCalls(AudioCall::Resume).size(), 1u);
  shutdownAudio();
  EXPECT_EQ(audioReady, 0);
  EXPECT_FALSE(headless::audioDeviceOpen());
  EXPECT_EQ(currentMusic, -1);
}

// No device: every operation is skipped, the game runs its frames, and the
// volume keys still change the values the settings keep.
TEST(AudioWithoutDevice, TheGameRunsSilentlyAndTheVolumeKeysStillWork) {
  resetAudioGlobals(0, 252);
  startHeadless();
  writeStandInAudioFiles();
  headless::setAudioAvailable(false);
  initAudio();
  EXPECT_EQ(audioReady, 0);
  EXPECT_EQ(effectSamples[EFFECT_TICK], 0);

  playEffect(EFFECT_TICK);
  stopEffect(EFFECT_TRACK);
  stopEffects();
  selectMusic(MENU_MUSIC);
  playMusic(4, "data/xm04.xm");
  EXPECT_EQ(currentMusic, -1);
  stopMusic();
  pauseAudio();
  resumeAudio();

  runFrames(5);
  pressKey(VK_PRIOR);
  runFrames(3);
  releaseKey(VK_PRIOR);
  runFrames(1);
  screenState = Game;
  screenEntryPending = 1;
  pressKey(VK_HOME);
  runFrames(2);
  releaseKey(VK_HOME);
  pressKey(VK_CONTROL);
  pressKey('P');
  runFrames(2);
  releaseKey('P');
  releaseKey(VK_CONTROL);
  handleWindowEvent(WindowEvent::Deactivated);
  handleWindowEvent(WindowEvent::Activated);
  runFrames(60);
  shutdownAudio();

  EXPECT_EQ(musicVolume, 1252);
  EXPECT_EQ(effectsVolume, 1000);
  EXPECT_EQ(volumeDisplayFrames, 0);
  EXPECT_TRUE(headless::audioLog().empty());
  EXPECT_EQ(headless::tunesLoaded(), 0);
  screenState = MainMenu;
  headless::setAudioAvailable(true);
}
} // namespace
