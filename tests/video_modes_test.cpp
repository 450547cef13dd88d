#include "platform/headless/headless.h"
#include "presentation/video_modes.h"
#include "shell/command_line.h"
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

TEST(CommandLine, ParseDecimalCountsEveryCharacter) {
  EXPECT_EQ(parseDecimal(""), 0);
  EXPECT_EQ(parseDecimal("5"), 5);
  EXPECT_EQ(parseDecimal("16"), 16);
  EXPECT_EQ(parseDecimal("17"), 17);
  EXPECT_EQ(parseDecimal("abc"), 5451); // 49 * 100 + 50 * 10 + 51
  EXPECT_EQ(parseDecimal(" 5"), -155); // (32 - 48) * 10 + 5
  EXPECT_EQ(parseDecimal("\xff"), -49); // a byte above 127 counts as negative
  EXPECT_EQ(parseDecimal("4294967311"), 15); // wraps in 32 bits
  EXPECT_EQ(parseDecimal("99999999999"), 1215752191);
  // A line of 1.5 MB is read in one pass (it once took minutes).
  EXPECT_EQ(parseDecimal(std::string(1500000, '0').append("7").c_str()), 7);
}

TEST(CommandLine, ArgumentsAreJoinedBySpacesUpToTheLimit) {
  const std::string huge(1500000, '9');
  const struct {
    std::vector<const char *> args;
    std::string joined;
  } cases[] = {
      {{"pelta"}, ""},
      {{"pelta", "5"}, "5"},
      {{"pelta", "1", "6"}, "1 6"},
      {{"pelta", "", "x"}, " x"},
      {{"pelta", huge.c_str()}, huge.substr(0, MAX_COMMAND_LINE)},
      {{"pelta", "5", huge.c_str(), "7"}, "5 " + huge.substr(0, MAX_COMMAND_LINE - 2)},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(joinCommandLine(static_cast<int>(c.args.size()), c.args.data()), c.joined);
  }
}

TEST(CommandLine, OnlyRowsUpToSixteenAreTaken) {
  desktopWidth = 1920;
  desktopHeight = 1080;
  const std::pair<const char *, int> cases[] = {
      {"", 255}, {"5", 5}, {"16", 16}, {"17", 255}, {"abc", 255}, {" 5", 255}, {"0", 0}};
  for (auto [text, expected] : cases) {
    applyCommandLine(text, desktopWidth, desktopHeight);
    EXPECT_EQ(videoModeIndex, expected) << '"' << text << '"';
  }
}

TEST(CommandLine, DesktopAspectClasses) {
  EXPECT_EQ(aspectClassOf(1280, 1024), 2);
  EXPECT_EQ(aspectClassOf(1024, 768), 2);
  EXPECT_EQ(aspectClassOf(1440, 900), 1);
  EXPECT_EQ(aspectClassOf(1920, 1080), 0);
  EXPECT_EQ(aspectClassOf(2560, 1080), 0);
  // The bounds are compared as exact decimals: 1760 / 1000 as a 32-bit float
  // lies just below 1.76 and is still medium; 1450 / 1000 lies just above
  // 1.45 and is no longer narrow.
  EXPECT_EQ(aspectClassOf(1760, 1000), 1);
  EXPECT_EQ(aspectClassOf(1450, 1000), 1);
  EXPECT_EQ(aspectClassOf(1449, 1000), 2);
}
