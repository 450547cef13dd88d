#include <gtest/gtest.h>
#include <fstream>
#include <sys/stat.h>
#include "common/files.h"
#include "common/format.h"
#include "platform/headless/headless.h"
#include "presentation/screenshots.h"
#include "presentation/video_modes.h"
#include "test_support.h"

namespace {
void touchShot(int n) {
  makeDirectory("screenshots");
  char name[64];
  formatInto(name, sizeof name, "screenshots/scr_%.3d.bmp", {n});
  std::ofstream(resolvePath(name)) << "x";
}
bool shotExists(int n) {
  char name[64];
  formatInto(name, sizeof name, "screenshots/scr_%.3d.bmp", {n});
  return fileExists(name);
}
} // namespace

TEST(Screenshots, NumberingFillsTheFirstGap) {
  makeTempRoot();
  findFreeScreenshotNumber();
  EXPECT_EQ(screenshotCounter, 1); // no folder at all
  for (int n : {1, 2, 3, 4, 9}) {
    touchShot(n);
  }
  findFreeScreenshotNumber();
  EXPECT_EQ(screenshotCounter, 5);
}

TEST(Screenshots, AFullRunTo998StartsAgainAtOne) {
  makeTempRoot();
  for (int n = 1; n <= 998; ++n) {
    touchShot(n);
  }
  findFreeScreenshotNumber();
  EXPECT_EQ(screenshotCounter, 1);
}

TEST(Screenshots, CounterWrapsAfter999) {
  screenshotCounter = 998;
  EXPECT_STREQ(nextScreenshotName(), "screenshots/scr_998.bmp");
  EXPECT_STREQ(nextScreenshotName(), "screenshots/scr_999.bmp");
  EXPECT_EQ(screenshotCounter, 1);
  EXPECT_STREQ(nextScreenshotName(), "screenshots/scr_001.bmp");
}

TEST(Screenshots, MissingFolderIsCreatedAndTheBitmapHasTheBackBufferSize) {
  startHeadless();
  EXPECT_FALSE(fileExists("screenshots"));
  EXPECT_EQ(takeScreenshot(), 1);
  ASSERT_TRUE(shotExists(1));
  struct stat st;
  ASSERT_EQ(::stat(resolvePath("screenshots").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u); // private, as the user folder (replays/ is made alike)
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(readWholeFile("screenshots/scr_001.bmp", bmp));
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(readLe32(&bmp[18]), static_cast<uint32_t>(backBufferWidth));
  EXPECT_EQ(readLe32(&bmp[22]), static_cast<uint32_t>(backBufferHeight));
  EXPECT_EQ(bmp[28], 32);
  EXPECT_EQ(bmp.size(), 54u + 4u * backBufferWidth * backBufferHeight);
  EXPECT_EQ(screenshotCounter, 2);
}

TEST(Screenshots, AFailedWriteKeepsTheNumber) {
  startHeadless();
  // A file where the folder should be: the folder cannot be made, the write fails.
  std::ofstream(resolvePath("screenshots")) << "in the way";
  EXPECT_EQ(takeScreenshot(), 0);
  EXPECT_EQ(screenshotCounter, 1);
  headless::failBackBufferRead(true);
  ::unlink(resolvePath("screenshots").c_str());
  EXPECT_EQ(takeScreenshot(), 0);
  EXPECT_EQ(screenshotCounter, 1);
  EXPECT_FALSE(shotExists(1));
  headless::reset();
}

TEST(Screenshots, BitmapRowsAreStoredBottomUp) {
  const uint32_t pixels[] = {0xFF112233u, 0xFF445566u}; // 1 wide, 2 high: top then bottom
  auto bmp = encodeBmp(pixels, 1, 2);
  ASSERT_EQ(bmp.size(), 62u);
  EXPECT_EQ(readLe32(&bmp[54]), 0xFF445566u);
  EXPECT_EQ(readLe32(&bmp[58]), 0xFF112233u);
}
