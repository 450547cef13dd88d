#include "platform/input.h"
#include "presentation/assets.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include "test_support.h"
#include <gtest/gtest.h>

TEST(Instructions, IconsBesideTheirLinesAndTheFooter) {
  startHeadless();
  screenState = Instructions;
  screenEntryPending = 1;
  runFrames(1);
  EXPECT_EQ(screenEntryPending, 0);
  struct Icon {
    SourceRect src;
    float x, y;
  } icons[] = {{{2, 30, 32, 60}, 50, 20},    {{36, 30, 66, 60}, 50, 70},
               {{2, 64, 42, 104}, 45, 175},  {{104, 30, 134, 60}, 50, 320},
               {{46, 66, 76, 96}, 50, 460},  {{70, 30, 100, 60}, 50, 540},
               {{80, 66, 100, 106}, 55, 643}};
  std::vector<const DrawRecord *> pictures;
  for (const DrawRecord &r : headless::drawLog()) {
    if (r.kind == DrawKind::Sprite) {
      pictures.push_back(&r);
    }
  }
  ASSERT_EQ(pictures.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    const DrawRecord &r = *pictures[i];
    EXPECT_EQ(r.texture, primitivesTexture);
    EXPECT_EQ(r.src.left, icons[i].src.left) << i;
    EXPECT_EQ(r.src.top, icons[i].src.top) << i;
    EXPECT_EQ(r.src.right, icons[i].src.right) << i;
    EXPECT_EQ(r.src.bottom, icons[i].src.bottom) << i;
    EXPECT_EQ(r.x, icons[i].x);
    EXPECT_EQ(r.y, icons[i].y + verticalOffset);
    EXPECT_EQ(r.colour, COLOUR_WHITE);
  }
  // Icons come just before their paragraph's first line.
  const auto &log = headless::drawLog();
  for (size_t i = 0; i + 1 < log.size(); ++i) {
    if (log[i].kind == DrawKind::Sprite && log[i].src.top == 66 && log[i].src.left == 80) {
      EXPECT_EQ(log[i + 1].text.substr(0, 15), "- Your track. T");
    }
  }

  std::vector<std::string> texts = textsDrawn();
  ASSERT_EQ(texts.size(), 29u);
  EXPECT_EQ(texts[0], "- This is you. Maybe you look little different in real life, but in this "
                      "game you are a white square. ;-)");
  EXPECT_EQ(texts[2], "  is bonunce from captured game area in 90\xB0 angles. The starting "
                      "position and move direction for all");
  EXPECT_EQ(texts[20], "Game principles: In every level you must capture at least 75% of the "
                       "black area surface. White or black");
  EXPECT_EQ(texts[28], "Press Escape to return to the menu");
  for (const DrawRecord &r : log) {
    if (r.kind == DrawKind::Text && r.text.rfind("Game principles", 0) == 0) {
      EXPECT_EQ(r.x, 50);
      EXPECT_EQ(r.y, 760 + static_cast<int>(verticalOffset));
      EXPECT_EQ(r.fontHeight, 30);
    }
    if (r.kind == DrawKind::Text && r.text == "Press Escape to return to the menu") {
      EXPECT_EQ(r.fontHeight, 40);
      EXPECT_EQ(r.y, 1030 + static_cast<int>(verticalOffset));
    }
  }
}

TEST(Instructions, EscapeMustBePressedAnew) {
  startHeadless();
  runFrames(1);
  pressKey('I');
  runFrames(1);
  EXPECT_EQ(screenState, Instructions);
  pressKey(VK_ESCAPE); // I and Escape both held into the page
  runFrames(3);
  EXPECT_EQ(screenState, Instructions);
  releaseKey(VK_ESCAPE);
  releaseKey('I');
  runFrames(1);
  pressKey(VK_ESCAPE);
  runFrames(1);
  EXPECT_EQ(screenState, MainMenu);
  EXPECT_EQ(keyLatch, 1);
  releaseKey(VK_ESCAPE);
}
