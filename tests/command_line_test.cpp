// SPDX-License-Identifier: MIT
// The words after the program's name: how they are joined and read as a row
// of the display-mode table, and the desktop's aspect class.
#include "presentation/video_modes.h"
#include "shell/command_line.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

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
  const int desktopWidth = 1920;
  const int desktopHeight = 1080;
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
