// The display the game plays on, the size of its window with --window, and
// Alt+Enter switching between the window and the full screen.
#include "presentation/video_modes.h"
#include "shell/shell.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <sstream>

TEST(WindowPlacement, TheDisplayAskedForElseThePointersElseTheFirst) {
  struct Case {
    int requested, count, pointer, chosen;
  };
  for (const Case &c : {Case{1, 2, 0, 1}, Case{2, 2, 1, 0}, Case{99, 1, 0, 0}, Case{0, 3, 2, 0},
                        Case{-1, 3, 2, 2}, Case{-1, 2, -1, 0}, Case{-1, 2, 5, 0}}) {
    EXPECT_EQ(chooseDisplay(c.requested, c.count, c.pointer), c.chosen)
        << c.requested << " of " << c.count << ", pointer on " << c.pointer;
  }
}

TEST(WindowPlacement, TheWindowTakesASmallerModesSizeElse1280x720) {
  struct Case {
    int modeW, modeH, desktopW, desktopH, w, h;
  };
  for (const Case &c :
       {Case{800, 600, 1920, 1080, 800, 600}, Case{1600, 900, 1920, 1200, 1600, 900},
        Case{1920, 1080, 1920, 1080, 1280, 720}, // the mode is the desktop
        Case{1920, 1080, 1920, 1200, 1280, 720}, // as wide as the desktop
        Case{1920, 1080, 2560, 1440, 1920, 1080},
        Case{1280, 1024, 1280, 1024, 960, 540}, // no room for 1280 x 720
        Case{1024, 768, 1024, 768, 768, 432}, Case{800, 600, 800, 600, 600, 337},
        Case{640, 360, 640, 360, 480, 270}}) {
    int w = 0;
    int h = 0;
    windowedSize(c.modeW, c.modeH, c.desktopW, c.desktopH, &w, &h);
    EXPECT_EQ(w, c.w) << c.modeW << "x" << c.modeH << " on " << c.desktopW << "x" << c.desktopH;
    EXPECT_EQ(h, c.h) << c.modeW << "x" << c.modeH << " on " << c.desktopW << "x" << c.desktopH;
  }
}

// A start with --window and --display shows the window once, in a window of
// the chosen mode's size on that display; a display that is not there is
// told in one line and display 0 is used. Alt+Enter then switches back and
// forth, the window keeping its size.
TEST(WindowPlacement, StartOnTheDisplayInAWindowAndAltEnterSwitches) {
  struct Case {
    int requested;
    int chosen;
    const char *told;
  };
  for (const Case &c :
       {Case{1, 1, ""},
        Case{3, 0, "pelta: there is no display 3 (2 found); playing on display 0\n"}}) {
    headless::reset();
    makeTempRoot();
    headless::setDisplays(2, 0);
    headless::setDisplayModes({{1920, 1080, 60}, {800, 600, 60}});
    startInWindow = true;
    requestedDisplay = c.requested;
    headless::pushWindowEvent(WindowEvent::Quit);
    testing::internal::CaptureStderr();
    EXPECT_EQ(runPelta("0"), 0);
    // The scratch data folder is empty: only the lines about displays count.
    std::istringstream said(testing::internal::GetCapturedStderr());
    std::string displayLines;
    for (std::string line; std::getline(said, line);) {
      if (line.find("display") != std::string::npos) {
        displayLines += line + "\n";
      }
    }
    EXPECT_EQ(displayLines, c.told);
    EXPECT_EQ(headless::selectedDisplay(), c.chosen);
    const headless::WindowShown shown = headless::windowShown();
    EXPECT_EQ(shown.times, 1);
    EXPECT_TRUE(shown.inWindow);
    EXPECT_EQ(shown.width, 800);
    EXPECT_EQ(shown.height, 600);
  }
  for (bool inWindow : {false, true, false}) {
    handleWindowEvent(WindowEvent::ToggleWindow);
    EXPECT_EQ(headless::windowShown().inWindow, inWindow);
    EXPECT_EQ(headless::windowShown().width, 800);
  }
  startInWindow = false;
  requestedDisplay = -1;
  headless::reset();
}
