#include "platform/headless/headless.h"
#include "presentation/video_modes.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// The desktop of the last offerModes, as the shell reads it at start.
int desktopWidth = 1920;
int desktopHeight = 1080;

void offerModes(const std::vector<DisplayModeInfo> &modes, int dw, int dh) {
  headless::reset();
  headless::setDisplayModes(modes);
  headless::setDesktop(dw, dh);
  desktopWidth = dw;
  desktopHeight = dh;
}
} // namespace

TEST(VideoModes, EveryRowGivesItsScaleAndOffset) {
  const float scale[17] = {0.416667f, 0.533333f, 0.666667f, 0.666667f, 0.666667f, 0.666667f,
                           0.708333f, 0.708333f, 0.711458f, 0.75f,     0.75f,     0.833333f,
                           0.833333f, 0.875f,    0.875f,    1.0f,      1.0f};
  const float offset[17] = {180, 180, 0, 60, 180, 228, 2, 183, 0, 60, 100, 0, 180, 60, 146, 0, 60};
  for (int row = 0; row < 17; ++row) {
    videoModeIndex = static_cast<uint8_t>(row);
    computeRenderScale(desktopWidth, desktopHeight);
    EXPECT_NEAR(renderScale, scale[row], 1e-6) << "row " << row;
    EXPECT_EQ(verticalOffset, offset[row]) << "row " << row;
    EXPECT_EQ(backBufferWidth, static_cast<int>(videoModes[row].width));
  }
}

TEST(VideoModes, AutomaticChoicePrefersTheWideFullHdRows) {
  offerModes({{800, 600, 60}, {1920, 1080, 60}, {1920, 1200, 60}}, 800, 600);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, 16);
  offerModes({{800, 600, 60}, {1920, 1080, 60}}, 800, 600);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, 15);
}

TEST(VideoModes, DesktopShapeChoosesAmongTheOtherRows) {
  // 1680x1050 desktop: row 13 (its own class), not the higher row 14.
  offerModes({{1680, 1050, 60}, {1680, 1200, 60}}, 1680, 1050);
  applyCommandLine("", desktopWidth, desktopHeight);
  EXPECT_EQ(desktopAspectClass, 1);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, 13);
  EXPECT_EQ(verticalOffset, 60.0f);
}

TEST(VideoModes, ExplicitRowKeepsClassZeroSoUnavailableRowsFallBackToWide) {
  offerModes({{1280, 720, 60}, {1280, 1024, 60}}, 1280, 1024);
  desktopAspectClass = 0;
  applyCommandLine("3", desktopWidth, desktopHeight); // 1280x800 is not offered
  EXPECT_EQ(desktopAspectClass, 0);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, 2); // the wide 1280x720, not the narrow desktop shape
}

TEST(VideoModes, ExplicitRowZeroRunsAtVgaScale) {
  offerModes({{800, 600, 60}, {1920, 1080, 60}}, 1920, 1080);
  applyCommandLine("0", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, 0);
  EXPECT_NEAR(renderScale, 0.416667f, 1e-6);
  EXPECT_EQ(verticalOffset, 180.0f);
}

TEST(VideoModes, RefreshRateIsSixtyOnlyWhenListedAtSixty) {
  offerModes({{1920, 1080, 75}}, 1920, 1080);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModes[15].available, 1);
  EXPECT_EQ(presentRefreshRate, 0);
  offerModes({{1920, 1080, 75}, {1920, 1080, 60}}, 1920, 1080);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(presentRefreshRate, 60);
}

TEST(VideoModes, FailedDeviceFallsBackToTheDesktopSize) {
  offerModes({{1920, 1080, 60}}, 2560, 1080);
  headless::failDeviceCreation(1);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, VIDEO_MODE_DESKTOP);
  EXPECT_EQ(backBufferWidth, 2560);
  EXPECT_NEAR(renderScale, 1.333333f, 1e-6);
  EXPECT_EQ(verticalOffset, -135.0f);
}

TEST(VideoModes, NoListedRowUsesTheDesktop) {
  offerModes({{1000, 700, 60}}, 1000, 700);
  applyCommandLine("", desktopWidth, desktopHeight);
  ASSERT_TRUE(createDevice(desktopWidth, desktopHeight));
  EXPECT_EQ(videoModeIndex, VIDEO_MODE_DESKTOP);
  EXPECT_EQ(backBufferWidth, 1000);
  EXPECT_EQ(backBufferHeight, 700);
}
