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

// An existing shot is never replaced: taken numbers are skipped (also past
// 999, back to 1), and with every name taken the shot fails, saying so.
TEST(Screenshots, TakenNumbersAreSkippedAndAllTakenFails) {
  startHeadless();
  for (int n : {1, 2, 4, 999}) {
    touchShot(n);
  }
  findFreeScreenshotNumber();
  ASSERT_EQ(screenshotCounter, 3);
  EXPECT_EQ(takeScreenshot(), 1);
  EXPECT_EQ(takeScreenshot(), 1);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(readWholeFile("screenshots/scr_004.bmp", bytes));
  EXPECT_EQ(bytes.size(), 1u); // the player's file, untouched
  ASSERT_TRUE(readWholeFile("screenshots/scr_005.bmp", bytes));
  EXPECT_GT(bytes.size(), 54u);
  screenshotCounter = 998;
  EXPECT_STREQ(nextScreenshotName(), "screenshots/scr_998.bmp");
  touchShot(998);
  EXPECT_STREQ(nextScreenshotName(), "screenshots/scr_006.bmp"); // 999, 1 to 5 taken
  for (int n = 6; n < 998; ++n) {
    touchShot(n);
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(takeScreenshot(), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("every name from scr_001.bmp to "
                                                        "scr_999.bmp"),
            std::string::npos);
  ASSERT_TRUE(readWholeFile("screenshots/scr_001.bmp", bytes));
  EXPECT_EQ(bytes.size(), 1u);
  headless::reset();
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
  testing::internal::CaptureStderr();
  EXPECT_EQ(takeScreenshot(), 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot make the folder"),
            std::string::npos);
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
