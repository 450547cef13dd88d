// SPDX-License-Identifier: MIT
// Where the single-instance guard lives: only in a folder nobody but its
// user may enter, never keyed by the display.
#include "shell/session.h"
#include "shell/shell.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A runtime folder that is shared, another user's, relative or missing sends
// the guard to the per-user root.
TEST(InstanceGuard, OnlyInAFolderNobodyElseMayEnter) {
  const std::string runtime = makeTempRoot();
  const uint32_t me = static_cast<uint32_t>(::getuid());
  ::chmod(runtime.c_str(), 0700);
  EXPECT_EQ(instanceGuardPath(me, runtime.c_str(), "/home/p/.local/share/pelta"),
            runtime + "/" + APP_ID);
  const struct {
    uint32_t user;
    const char *folder;
    mode_t mode;
  } elsewhere[] = {{me + 1, runtime.c_str(), 0700}, {me, runtime.c_str(), 0710},
                   {me, runtime.c_str(), 0701},     {me, "relative", 0700},
                   {me, nullptr, 0700},             {me, "/nonexistent", 0700}};
  for (const auto &c : elsewhere) {
    ::chmod(runtime.c_str(), c.mode);
    EXPECT_EQ(instanceGuardPath(c.user, c.folder, "/home/p/.local/share/pelta"),
              "/home/p/.local/share/pelta/instance")
        << c.user << " " << (c.folder ? c.folder : "(none)") << " " << c.mode;
  }
}
