#include <gtest/gtest.h>
#include "common/format.h"
#include "platform/headless/headless.h"
#include "presentation/text_draw.h"
#include "presentation/video_modes.h"
#include "test_support.h"

namespace {
DrawRecord lastText() {
  for (auto it = headless::drawLog().rbegin(); it != headless::drawLog().rend(); ++it) {
    if (it->kind == DrawKind::Text) {
      return *it;
    }
  }
  return {};
}
} // namespace

TEST(DrawText, CentredLineOfOddWidthGivesTheExtraUnitToTheRight) {
  startHeadless();
  verticalOffset = 0.0f;
  setFontHeight(5); // 3 units a character
  formatText("abc"); // width 9
  drawText(0, 100, 1, COLOUR_WHITE);
  EXPECT_EQ(lastText().x, 960 - 4);
  formatText("abcd"); // width 12
  drawText(0, 100, 1, COLOUR_WHITE);
  EXPECT_EQ(lastText().x, 960 - 6);
}

TEST(DrawText, VerticalOffsetIsTruncatedAndAdded) {
  startHeadless();
  setFontHeight(30);
  formatText("Level: %d", 3);
  const std::pair<float, float> cases[] = {{180.0f, 530}, {2.0f, 352}, {2.9f, 352}, {-135.0f, 215},
                                           {-0.5f, 350}};
  for (auto [offset, expected] : cases) {
    verticalOffset = offset;
    drawText(5, 350, 0, COLOUR_WHITE);
    EXPECT_EQ(lastText().y, expected) << "offset " << offset;
    EXPECT_EQ(lastText().x, 5); // left-aligned lines start at xOffset whatever their length
  }
}

TEST(DrawText, EachHeightIsCreatedOnceAndReused) {
  startHeadless();
  int before = headless::fontsCreated();
  for (int frame = 0; frame < 50; ++frame) {
    setFontHeight(30);
    setFontHeight(70);
    setFontHeight(30);
  }
  EXPECT_LE(headless::fontsCreated() - before, 2);
  setFontHeight(70);
  formatText("x");
  drawText(0, 0, 1, COLOUR_MENU_GREEN);
  EXPECT_EQ(lastText().fontHeight, 70);
  EXPECT_EQ(lastText().colour, COLOUR_MENU_GREEN);
}

TEST(DrawText, TextSpriteCarriesTheRenderScale) {
  startHeadless();
  applyRenderScale(0.5f);
  formatText("x");
  drawText(0, 0, 0, COLOUR_WHITE);
  EXPECT_FLOAT_EQ(lastText().transform.m11, 0.5f);
  EXPECT_FLOAT_EQ(lastText().transform.m22, 0.5f);
  EXPECT_FLOAT_EQ(tickerScaling[0], 0.5f);
}

TEST(Formatter, ConversionsOfTheGameTexts) {
  formatText("Total score: %.10lu", 12345u);
  EXPECT_STREQ(textBuffer, "Total score: 0000012345");
  formatText("Time bonus: %.8d", 100000);
  EXPECT_STREQ(textBuffer, "Time bonus: 00100000");
  formatText("Captured area: %.2d.%.4d%%", 7, 81);
  EXPECT_STREQ(textBuffer, "Captured area: 07.0081%");
  formatText("%lu", 4294967295u);
  EXPECT_STREQ(textBuffer, "4294967295");
  formatText("%d", -2147483647 - 1);
  EXPECT_STREQ(textBuffer, "-2147483648");
  formatText("%.10lu - %s%c", 5u, "ABC", '_');
  EXPECT_STREQ(textBuffer, "0000000005 - ABC_");
  formatText("scr_%.3d.bmp", 7);
  EXPECT_STREQ(textBuffer, "scr_007.bmp");
  formatText("75%% of %d", 3);
  EXPECT_STREQ(textBuffer, "75% of 3");
}

TEST(Formatter, OutputStopsAtTheBufferAndMissingArgumentsPrintNothing) {
  std::string longText(2000, 'x');
  size_t n = formatText("%s", longText.c_str());
  EXPECT_EQ(n, TEXT_BUFFER_SIZE);
  EXPECT_EQ(std::string(textBuffer).size(), TEXT_BUFFER_SIZE);
  formatText("a%db%s");
  EXPECT_STREQ(textBuffer, "ab");
  char small[4];
  formatInto(small, sizeof small, "%d", {123456});
  EXPECT_STREQ(small, "123");
}
