// Keys as the window system reports them: a tap that falls between two frames
// is read in the next frame, held keys read down every frame, and the
// screens' latches still hold a key carried over a screen change.
#include "audio/audio.h"
#include "common/files.h"
#include "platform/input.h"
#include "screens/name_entry.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "test_support.h"
#include <filesystem>
#include <gtest/gtest.h>

namespace {
// Down and up again with no frame between.
void tapBetweenFrames(std::initializer_list<int> keys) {
  for (int vk : keys) {
    headless::keyEvent(vk, true);
  }
  for (int vk : keys) {
    headless::keyEvent(vk, false);
  }
}
} // namespace

TEST(KeyTaps, ATapReadsDownForTheWholeNextFrameOnlyAndAHeldKeyEveryFrame) {
  for (int vk : {int('I'), VK_ESCAPE, VK_PRIOR, int('P'), VK_CONTROL, VK_RETURN, VK_LEFT}) {
    SCOPED_TRACE(vk);
    headless::reset();
    tapBetweenFrames({vk});
    EXPECT_TRUE(keyDown(vk));
    EXPECT_TRUE(keyDown(vk)); // every read of that frame
    endKeyFrame();
    EXPECT_FALSE(keyDown(vk));

    headless::keyEvent(vk, true);
    for (int frame = 0; frame < 3; ++frame) {
      EXPECT_TRUE(keyDown(vk));
      endKeyFrame();
    }
    headless::keyEvent(vk, false);
    EXPECT_FALSE(keyDown(vk));
    // A second press of the same key: a tap again, then held.
    tapBetweenFrames({vk});
    headless::keyEvent(vk, true);
    endKeyFrame();
    EXPECT_TRUE(keyDown(vk));
  }
  headless::reset();
}

TEST(KeyTaps, TapsBetweenFramesActOnTheirScreens) {
  struct Case {
    uint8_t screen;
    int key;
    uint8_t after;
  };
  for (const Case &c : {Case{MainMenu, 'I', Instructions}, Case{MainMenu, 'T', TopTen},
                        Case{Instructions, VK_ESCAPE, MainMenu}, Case{TopTen, VK_ESCAPE, MainMenu},
                        Case{MainMenu, VK_RETURN, Game}}) {
    SCOPED_TRACE(c.key);
    startHeadless();
    quitPosted = 0;
    screenState = c.screen;
    runFrames(1);
    tapBetweenFrames({c.key});
    runFrames(1);
    EXPECT_EQ(screenState, c.after);
    // The tap is spent: the new screen's latch clears at once and nothing
    // more happens (Escape would quit the menu, Enter start a game).
    runFrames(5);
    EXPECT_EQ(screenState, c.after);
    EXPECT_EQ(keyLatch, 0);
    EXPECT_EQ(quitPosted, 0);
  }
  headless::reset();
}

TEST(KeyTaps, CtrlPTappedOnceWritesOneScreenshotAndPageUpStepsTheVolumeOnce) {
  startHeadless();
  runFrames(1);
  const std::filesystem::path shots = userRoot() + "/screenshots";
  tapBetweenFrames({VK_CONTROL, 'P'});
  runFrames(3);
  EXPECT_TRUE(std::filesystem::exists(shots / "scr_001.bmp"));
  EXPECT_FALSE(std::filesystem::exists(shots / "scr_002.bmp"));

  musicVolume = 5000;
  tapBetweenFrames({VK_PRIOR});
  runFrames(3);
  EXPECT_EQ(musicVolume, 6000);
  headless::reset();
}

TEST(KeyTaps, LettersTappedInSuccessiveFramesAreTyped) {
  startHeadless();
  screenState = NameEntry;
  screenEntryPending = 1;
  topTenRank = 0;
  lastTypedKey = 0;
  runFrames(1);
  for (int vk : {int('A'), int('B'), int('A'), VK_SPACE, int('7')}) {
    tapBetweenFrames({vk});
    runFrames(1);
  }
  EXPECT_STREQ(nameBuffer, "ABA 7");
  headless::reset();
}
