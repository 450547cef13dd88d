#include "audio/audio.h"
#include "common/files.h"
#include "persistence/settings_file.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/timer.h"
#include "shell/shell.h"
#include "test_support.h"
#include <algorithm>
#include <array>
#include <gtest/gtest.h>

TEST(FramePacing, SleepsTheRestOfTheFrameInUnsignedArithmetic) {
  EXPECT_EQ(frameSleepTime(1000, 1004, 15), 11u);
  EXPECT_EQ(frameSleepTime(1000, 1015, 15), 0u);
  EXPECT_EQ(frameSleepTime(1000, 1100, 15), 0u);
  // The millisecond clock wrapped between the two readings.
  EXPECT_EQ(frameSleepTime(0xFFFFFFFAu, 3u, 15), 6u);
  EXPECT_EQ(frameSleepTime(0xFFFFFFFAu, 20u, 15), 0u);
}

TEST(FramePacing, CapsLockSlowsOnlyTheGame) {
  startHeadless();
  headless::setToggle(VK_CAPITAL, true);
  screenState = MainMenu;
  EXPECT_EQ(frameLength(), 15u);
  screenState = Game;
  EXPECT_EQ(frameLength(), 2000u);
  headless::setToggle(VK_CAPITAL, false);
  EXPECT_EQ(frameLength(), 15u);
  headless::setToggle(VK_CAPITAL, true);
  headless::setKey(VK_CAPITAL, true); // held as well as toggled: still the toggle that counts
  screenState = TopTen;
  EXPECT_EQ(frameLength(), 15u);
  headless::reset();
}

TEST(FramePacing, FramesRunAtTheFifteenMillisecondPace) {
  startHeadless();
  screenState = 99; // no screen: an empty frame
  headless::setClock(5000);
  frameStartTime = 5000;
  runFrames(10);
  EXPECT_EQ(timeGetTime(), 5150u);
  headless::setToggle(VK_CAPITAL, true);
  screenState = Game;
  screenEntryPending = 0;
  runFrame();
  EXPECT_EQ(timeGetTime(), 7150u);
  headless::reset();
}

TEST(Dispatcher, ScreenChangeTakesEffectInTheNextFrame) {
  startHeadless();
  changeScreen(TopTen);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_EQ(screenEntryPending, 1);
  EXPECT_EQ(keyLatch, 1);
  runFrame();
  EXPECT_EQ(screenEntryPending, 0); // the top ten ran its set-up
}

TEST(Shell, SecondInstanceAsksTheFirstToRaiseAndExitsZero) {
  headless::reset();
  headless::setOtherInstanceRunning(true);
  testing::internal::CaptureStderr();
  EXPECT_EQ(runPelta(""), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "pelta: already running; its window was raised\n");
  EXPECT_TRUE(headless::raiseRequested());
  headless::reset();
}

TEST(Shell, DeviceFailureShowsTheErrorBoxAndExitsOne) {
  headless::reset();
  headless::failDeviceCreation(2);
  EXPECT_EQ(runPelta(""), 1);
  EXPECT_EQ(headless::lastMessageBox(), "Error: Direct3D9 initialization failed. Error code 0xF0000000");
  headless::reset();
}

// The whole loop, driven by window events: frames run only while the window
// has the focus (losing it pauses the sound, getting it back resumes it),
// Quit and Pause end with 0, and the end writes what changed to setting.pta.
TEST(Shell, FramesRunOnlyWithTheFocusAndTheEndWritesTheSettings) {
  using E = WindowEvent;
  for (WindowEvent how : {E::Quit, E::PauseKey}) {
    headless::reset();
    makeTempRoot();
    std::vector<uint8_t> settings(16);
    for (int i = 0; i < 4; ++i) {
      writeLe32(settings.data() + 4 * i, std::array<uint32_t, 4>{3000, 4000, 7, 7}[i]);
    }
    ASSERT_TRUE(replaceFileAtomically(SETTINGS_FILE, settings));
    volumeKeyHeld = 0;
    screenState = MainMenu; // where the program starts
    screenEntryPending = 1;
    keyLatch = 0;
    headless::setKey(VK_PRIOR, true); // music volume up, once per press
    // None lets the loop run one turn: a frame with the focus, a rest without.
    for (E e : {E::Activated, E::None, E::None, E::Deactivated, E::None, E::None, E::None,
                E::Activated, E::None, how}) {
      headless::pushWindowEvent(e);
    }
    EXPECT_EQ(runPelta(""), 0);
    const std::vector<std::string> texts = headless::drawnTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Play [Enter]"), 3);
    std::vector<AudioCall> pauses;
    for (const AudioRecord &r : headless::audioLog()) {
      if (r.call == AudioCall::Pause || r.call == AudioCall::Resume) {
        pauses.push_back(r.call);
      }
    }
    EXPECT_EQ(pauses,
              (std::vector<AudioCall>{AudioCall::Resume, AudioCall::Pause, AudioCall::Resume}));
    std::vector<uint8_t> written;
    ASSERT_TRUE(readWholeFile(SETTINGS_FILE, written));
    ASSERT_EQ(written.size(), 16u);
    EXPECT_EQ(readLe32(written.data()), 3000u);
    EXPECT_EQ(readLe32(written.data() + 4), 5000u);
    EXPECT_EQ(readLe32(written.data() + 8), 7u);
  }
  headless::reset();
}

TEST(ScreenshotKey, HoldingCtrlPTakesOneShotUntilPIsReleased) {
  startHeadless();
  screenState = 99;
  headless::setKey(VK_CONTROL, true);
  headless::setKey('P', true);
  runFrames(5);
  EXPECT_EQ(screenshotLatch, 1);
  headless::setKey('P', false);
  runFrame();
  EXPECT_EQ(screenshotLatch, 0);
  headless::setKey('P', true); // Ctrl stayed down
  runFrame();
  EXPECT_EQ(screenshotLatch, 1);
  headless::reset();
}

// Once every screen has drawn a frame, no later frame creates a font or a
// texture: sizes switch between cached fonts and pictures stay loaded.
TEST(SteadyFrames, NoFontOrTextureIsCreatedAfterTheFirstFrames) {
  startHeadless();
  for (uint8_t screen : {MainMenu, Instructions, TopTen, Game}) {
    changeScreen(screen);
    keyLatch = 0;
    runFrames(3);
  }
  int fonts = headless::fontsCreated();
  int textures = headless::texturesCreated();
  for (uint8_t screen : {MainMenu, Instructions, TopTen}) {
    screenState = screen;
    screenEntryPending = 0;
    runFrames(30);
  }
  screenState = Game;
  screenEntryPending = 0;
  runFrames(300); // countdown, then play with the status line
  EXPECT_EQ(headless::fontsCreated(), fonts);
  EXPECT_EQ(headless::texturesCreated(), textures);
}
