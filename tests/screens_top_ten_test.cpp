#include "persistence/top_ten.h"
#include "platform/input.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "screens/name_entry.h"
#include "shell/shell.h"
#include "state/game_state.h"
#include "test_support.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {
// The game just ended with `score` ranking at row `rank`, Enter still held.
void enterNameEntry(uint32_t score, int rank) {
  startHeadless();
  for (int k = 0; k < TOP_TEN_SIZE; ++k) {
    topTenFileTable[k].score = 1000u - 100u * k;
    std::memcpy(topTenFileTable[k].name, "OLD       ", 11);
  }
  copyTopTen(true);
  totalScore = score;
  level = 6;
  gameId = 99;
  topTenRank = rank;
  lastTypedKey = 0;
  screenState = NameEntry;
  screenEntryPending = 1;
  keyLatch = 0;
  headless::clearDrawLog();
}

std::string rowText(int row) {
  std::string found;
  int y = 250 + 60 * row + static_cast<int>(verticalOffset);
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.y == y && r.x == 570) {
      found = r.text; // the last frame's
    }
  }
  return found;
}

void type(int vk) { tapKey(vk); }
} // namespace

TEST(NameEntry, ResultGoesIntoItsRowAndTheNameIsStoredPadded) {
  enterNameEntry(950, 1);
  runFrames(1);
  EXPECT_EQ(topTenTable[1].score, 950u);
  EXPECT_EQ(topTenTable[2].score, 900u);
  EXPECT_EQ(topTenTable[9].score, 200u);
  EXPECT_EQ(topTenFileTable[1].score, 900u); // not yet confirmed
  type('B');
  type('O');
  type('B');
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_EQ(rowText(1).substr(0, 16), "0000000950 - BOB");
  EXPECT_EQ(rowText(0), "0000001000 - OLD       ");
  tapKey(VK_RETURN);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_STREQ(topTenFileTable[1].name, "BOB       ");
  EXPECT_EQ(topTenFileTable[1].level, 6u);
  EXPECT_EQ(topTenFileTable[1].gameId, 99);
  // Already in the file, before any normal end.
  ASSERT_TRUE(readTopTenFile());
  EXPECT_STREQ(topTenFileTable[1].name, "BOB       ");
  EXPECT_EQ(topTenFileTable[1].score, 950u);
  headless::clearDrawLog();
  runFrames(1);
  EXPECT_EQ(rowText(1), "0000000950 - BOB       ");
  EXPECT_TRUE(textWasDrawn("Press Escape to return to the menu"));
  EXPECT_TRUE(textWasDrawn("Top ten"));
}

TEST(NameEntry, HeldKeysTypeOnceAndTheScanOrderDecides) {
  enterNameEntry(5000, 0);
  runFrames(1);
  pressKey('A');
  runFrames(5);
  EXPECT_STREQ(nameBuffer, "A");
  pressKey('B'); // A still held: the scan keeps finding A
  runFrames(3);
  EXPECT_STREQ(nameBuffer, "A");
  releaseKey('A');
  runFrames(1);
  EXPECT_STREQ(nameBuffer, "AB");
  releaseKey('B');
  runFrames(1);
  tapKey('A');
  EXPECT_STREQ(nameBuffer, "ABA");
  // Several at once: Backspace before Space before digits before letters.
  pressKey('Z');
  pressKey('7');
  pressKey(VK_SPACE);
  runFrames(1);
  EXPECT_STREQ(nameBuffer, "ABA ");
  releaseKey(VK_SPACE);
  runFrames(1);
  EXPECT_STREQ(nameBuffer, "ABA 7");
  pressKey(VK_BACK);
  runFrames(1);
  EXPECT_STREQ(nameBuffer, "ABA ");
  headless::releaseAllKeys();
  runFrames(1);
  // Lower case, punctuation and Enter never type.
  tapKey(0xBE);
  tapKey(VK_RETURN);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_STREQ(topTenFileTable[0].name, "ABA       ");
}

TEST(NameEntry, TenCharactersAtMostAndTheCaretBlinks) {
  enterNameEntry(5000, 3);
  tapKey(VK_BACK); // on an empty name: nothing
  EXPECT_STREQ(nameBuffer, "");
  for (int i = 0; i < 11; ++i) {
    tapKey('0' + i % 10);
  }
  EXPECT_STREQ(nameBuffer, "0123456789");
  // Caret: over 31 frames of a shorter name, 20 show it.
  tapKey(VK_BACK);
  headless::clearDrawLog();
  runFrames(31);
  int withCaret = 0;
  int y = 250 + 60 * 3 + static_cast<int>(verticalOffset);
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.y == y) {
      withCaret += r.text == "0000005000 - 012345678_";
      EXPECT_TRUE(r.text == "0000005000 - 012345678_" || r.text == "0000005000 - 012345678");
    }
  }
  EXPECT_EQ(withCaret, 20);
  tapKey('X');
  headless::clearDrawLog();
  runFrames(31);
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.y == y) {
      EXPECT_EQ(r.text, "0000005000 - 012345678X");
    }
  }
}

TEST(NameEntry, EnterNeedsANameAndAFreshPress) {
  enterNameEntry(700, 4);
  keyLatch = 1; // Enter held over from the game's last screen
  pressKey(VK_RETURN);
  runFrames(2);
  tapKey('Q', 2); // typing meanwhile does not lift the latch
  pressKey(VK_RETURN);
  runFrames(3);
  EXPECT_EQ(screenState, NameEntry);
  releaseKey(VK_RETURN);
  tapKey(VK_BACK);
  EXPECT_STREQ(nameBuffer, "");
  tapKey(VK_RETURN); // empty name: nothing
  EXPECT_EQ(screenState, NameEntry);
  tapKey(VK_ESCAPE); // does nothing here
  EXPECT_EQ(screenState, NameEntry);
  tapKey('Q');
  tapKey(VK_RETURN);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_STREQ(topTenFileTable[4].name, "Q         ");
}

TEST(NameEntry, BackspaceWithEnterNeverStoresANulInsideTheName) {
  enterNameEntry(700, 0);
  tapKey('A');
  tapKey('B');
  pressKey(VK_BACK);
  pressKey(VK_RETURN);
  runFrames(1);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_STREQ(topTenFileTable[0].name, "A         ");
  EXPECT_EQ(std::strlen(topTenFileTable[0].name), 10u);
  headless::releaseAllKeys();
}

TEST(TopTenScreen, ShowsTheFileTableAndEscapeGoesBack) {
  startHeadless();
  topTenFileTable[0].score = 12345;
  std::memcpy(topTenFileTable[0].name, "ZED       ", 11);
  screenState = TopTen;
  screenEntryPending = 1;
  keyLatch = 1;
  pressKey(VK_ESCAPE); // still held from the menu: no way back yet
  runFrames(2);
  EXPECT_EQ(screenState, TopTen);
  EXPECT_EQ(rowText(0), "0000012345 - ZED       ");
  EXPECT_EQ(rowText(9), "0000000000 - ..........");
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Text && r.text == "Top ten") {
      EXPECT_EQ(r.fontHeight, 100);
      EXPECT_EQ(r.y, 100 + static_cast<int>(verticalOffset));
    }
    if (r.kind == DrawKind::Text && r.text == "Press Escape to return to the menu") {
      EXPECT_EQ(r.fontHeight, 60);
      EXPECT_EQ(r.y, 900 + static_cast<int>(verticalOffset));
    }
  }
  releaseKey(VK_ESCAPE);
  runFrames(1);
  tapKey(VK_ESCAPE);
  EXPECT_EQ(screenState, MainMenu);
}
