// SPDX-License-Identifier: MIT
// The single-instance guard's names: one per user and display, short enough
// for a socket address.
#include "shell/session.h"
#include <gtest/gtest.h>
#include <string>

TEST(InstanceGuard, OneNamePerUserAndDisplay) {
  const std::string mine = instanceGuardName(1000, ":0", nullptr);
  EXPECT_EQ(mine, instanceGuardName(1000, ":0", ""));
  EXPECT_NE(mine, instanceGuardName(1001, ":0", nullptr));
  EXPECT_NE(mine, instanceGuardName(100, ":0", nullptr));
  EXPECT_NE(mine, instanceGuardName(1000, ":1", nullptr));
  EXPECT_NE(mine, instanceGuardName(1000, nullptr, ":0"));
  EXPECT_NE(mine, instanceGuardName(1000, ":0", "wayland-0"));
  // Long socket paths that differ only at their end stay apart, and short.
  const std::string longPath = "/run/user/1000/" + std::string(120, 'w');
  const std::string a = instanceGuardName(1000, nullptr, (longPath + "a").c_str());
  const std::string b = instanceGuardName(1000, nullptr, (longPath + "b").c_str());
  EXPECT_NE(a, b);
  EXPECT_LE(a.size(), MAX_GUARD_NAME);
  EXPECT_NE(a, instanceGuardName(1001, nullptr, (longPath + "a").c_str()));
}
