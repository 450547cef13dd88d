// SPDX-License-Identifier: MIT
// Whether there is a display to open a window on at all.
#include "shell/session.h"
#include <gtest/gtest.h>

TEST(DisplayCheck, NamedDisplayAndDriversThatDrawNowhere) {
  EXPECT_FALSE(displayNamed(nullptr, nullptr));
  EXPECT_FALSE(displayNamed("", ""));
  EXPECT_TRUE(displayNamed(":0", nullptr));
  EXPECT_TRUE(displayNamed("", "wayland-0"));
  EXPECT_TRUE(drawsNowhere("offscreen"));
  EXPECT_TRUE(drawsNowhere("dummy"));
  EXPECT_FALSE(drawsNowhere("x11"));
  EXPECT_FALSE(drawsNowhere("wayland"));
}
