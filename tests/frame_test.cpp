#include <gtest/gtest.h>
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/timer.h"
#include "shell/shell.h"
#include "test_support.h"

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

TEST(Shell, QuitAndPauseEndTheLoopWithZero) {
  for (WindowEvent how : {WindowEvent::Quit, WindowEvent::PauseKey}) {
    headless::reset();
    makeTempRoot();
    headless::pushWindowEvent(WindowEvent::Activated);
    headless::pushWindowEvent(how);
    EXPECT_EQ(runPelta(""), 0);
  }
  headless::reset();
}

TEST(Shell, NoFrameRunsWhileInactive) {
  startHeadless();
  appActive = 0;
  handleWindowEvent(WindowEvent::Deactivated);
  EXPECT_EQ(appActive, 0);
  handleWindowEvent(WindowEvent::Activated);
  EXPECT_EQ(appActive, 1);
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
