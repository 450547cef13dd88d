// The game screen's sounds reach the sound layer at their moments: the three
// countdown ticks, the tune when the countdown ends, the track hum, the
// capture, the crash, the game-over sound, and the failed save's buzz.
#include <gtest/gtest.h>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>
#include "audio_fixture.h"
#include "game_helpers.h"

namespace {
// The game screen entered from the menu, with sound, at level 1.
void enterGameWithSound() {
  startHeadless();
  writeStandInAudioFiles();
  resetAudioGlobals(10000, 10000);
  initAudio();
  ASSERT_EQ(audioReady, 1);
  gameSrand(99);
  level = 1;
  lives = START_LIVES;
  totalScore = 0;
  gameLoaded = 0;
  screenState = Game;
  screenEntryPending = 1;
  keyLatch = 0;
  headless::clearAudioLog();
}

int plays(int effect) {
  const auto &log = headless::audioLog();
  return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const AudioRecord &r) {
    return r.call == AudioCall::PlayChannel && r.id == effectSamples[effect];
  }));
}

int tunePlays() {
  const auto &log = headless::audioLog();
  return static_cast<int>(std::count_if(log.begin(), log.end(), [](const AudioRecord &r) {
    return r.call == AudioCall::PlayTune;
  }));
}
} // namespace

TEST(GameSound, ThreeTicksThenTheTuneInFrame180) {
  enterGameWithSound();
  runFrames(1);
  EXPECT_EQ(plays(EFFECT_TICK), 1); // the set-up frame
  runFrames(58);
  EXPECT_EQ(plays(EFFECT_TICK), 1);
  runFrames(1); // frame 60, the last one showing 3
  EXPECT_EQ(plays(EFFECT_TICK), 2);
  runFrames(60); // frame 120, the last one showing 2
  EXPECT_EQ(plays(EFFECT_TICK), 3);
  runFrames(59); // frame 179
  EXPECT_EQ(tunePlays(), 0);
  runFrames(1); // frame 180: the countdown ends and the level's tune starts
  EXPECT_EQ(tunePlays(), 1);
  EXPECT_EQ(currentMusic, musicNumber);
  EXPECT_EQ(plays(EFFECT_TICK), 3);
}

TEST(GameSound, TrackHumCaptureAndCrash) {
  enterGameWithSound();
  runFrames(1);
  skipCountdown();
  parkEnemies();
  headless::clearAudioLog();
  steer(VK_DOWN, 1);
  runFrames(4);
  EXPECT_EQ(plays(EFFECT_TRACK), 0); // rows 10..14: still on the border
  runFrames(1); // row 15 is free: out into the free area, the hum starts
  EXPECT_EQ(plays(EFFECT_TRACK), 1);
  steer(VK_UP, 1); // refused off safe ground: still going down
  steer(VK_RIGHT, 30);
  steer(VK_UP, 1);
  runFrames(60); // back on the border: the capture
  EXPECT_EQ(plays(EFFECT_CAPTURE), 1);
  EXPECT_EQ(plays(EFFECT_TRACK), 1);
  EXPECT_GT(capturedCells, 0u);

  // Out again, then straight back into the own track: a crash.
  headless::clearAudioLog();
  steer(VK_DOWN, 30);
  steer(VK_RIGHT, 2);
  steer(VK_UP, 1);
  ASSERT_EQ(crashed, 1);
  EXPECT_EQ(plays(EFFECT_CRASH), 1);
  const auto &log = headless::audioLog();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                          [](const AudioRecord &r) { return r.call == AudioCall::StopChannel; }))
      << "the hum stops with the crash";
}

TEST(GameSound, GameOverStopsTheTuneAndPlaysOnce) {
  enterGameWithSound();
  runFrames(180);
  ASSERT_EQ(tunePlays(), 1);
  parkEnemies();
  lives = 1;
  steer(VK_DOWN, 30);
  steer(VK_RIGHT, 2);
  steer(VK_UP, 1);
  ASSERT_EQ(lives, 0);
  headless::clearAudioLog();
  runFrames(100);
  EXPECT_EQ(plays(EFFECT_GAME_OVER), 1);
  EXPECT_EQ(currentMusic, -1);
  EXPECT_EQ(headless::tuneHeard(), 0);
}

TEST(GameSound, AFailedSaveBuzzesInsteadOfTheChime) {
  enterGameWithSound();
  runFrames(1);
  skipCountdown();
  levelComplete = 1;
  // A folder where the top-ten file should be: the save cannot be written.
  ::unlink(resolvePath("data/tt.pta").c_str());
  ::mkdir(resolvePath("data/tt.pta").c_str(), 0755);
  headless::clearAudioLog();
  tapKey('S');
  EXPECT_EQ(plays(EFFECT_SCREENSHOT_FAILED), 1);
  EXPECT_EQ(plays(EFFECT_PICKUP), 0);
  EXPECT_EQ(gameSaved, 0);
}
