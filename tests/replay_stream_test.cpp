// SPDX-License-Identifier: MIT
// Replays written while the game is played: a disk that fails part-way
// leaves a replay cut short that still verifies to its last check; a disk
// nearly full begins no replay (said once) and the top ten is still written;
// the folder keeps the newest of the game's own replays within its count and
// size, and nothing else.
#include "common/files.h"
#include "persistence/top_ten.h"
#include "platform/input.h"
#include "replay/replay.h"
#include "replay/replay_folder.h"
#include "shell/shell.h"
#include "state/screen_state.h"
#include "sim.h"
#include "test_support.h"
#include <algorithm>
#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {
// A game entered from the menu, `frames` frames of it, then left with Escape.
void playGame(int frames, int failFrom = -1) {
  runFrames(5); // the menu takes keys once it has settled
  pressKey(VK_RETURN);
  runFrames(1);
  releaseKey(VK_RETURN);
  ASSERT_EQ(screenState, Game);
  for (int f = 0; f < frames; ++f) {
    if (f == failFrom) {
      fileCalls.write = [](int, const void *, size_t) -> ssize_t { return errno = ENOSPC, -1; };
    }
    runFrames(1);
  }
  fileCalls = SYSTEM_FILE_CALLS;
  tapKey(VK_ESCAPE);
  runFrames(2);
}

std::vector<std::string> replayNames() {
  std::vector<std::string> names = listFolder(replayFolder());
  std::sort(names.begin(), names.end());
  return names;
}
} // namespace

TEST(ReplayStream, AFailedWriteCutsTheReplayShortAndAFullDiskKeepsTheTopTen) {
  startHeadless();
  recordingEnabled = 1;
  testing::internal::CaptureStderr();
  playGame(700, 450);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("stops here: No space left on device"), std::string::npos) << said;
  ASSERT_EQ(replayNames().size(), 1u);
  const std::string path = resolvePath((std::string(replayFolder()) + "/" + replayNames()[0]).c_str());
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplayFile(path, replay, error)) << error;
  EXPECT_TRUE(replay.cutShort);
  EXPECT_GE(replay.checks.size(), 2u); // frames 200 and 400
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const std::string root = userRoot(); // the simulator runs in a folder of its own
  EXPECT_EQ(simMain({"--replay", path}, in, out, err), REPLAY_CUT_SHORT_EXIT) << err.str();
  setUserRoot(root);
  setDataFolder(root + "/data");
  recordingEnabled = 1;
  EXPECT_NE(err.str().find("cut short"), std::string::npos) << err.str();

  uint64_t (*const systemFree)(int) = freeBytesOf;
  freeBytesOf = [](int) -> uint64_t { return RESERVED_FREE_BYTES - 1; };
  testing::internal::CaptureStderr();
  playGame(50);
  playGame(50);
  said = testing::internal::GetCapturedStderr();
  freeBytesOf = systemFree;
  const std::string told = "replays are no longer written";
  ASSERT_NE(said.find(told), std::string::npos) << said << replayNames().size();
  EXPECT_EQ(said.find(told, said.find(told) + 1), std::string::npos) << said; // once
  EXPECT_EQ(replayNames().size(), 1u);
  EXPECT_TRUE(writeTopTenFile());
  recordingEnabled = 0;
}

// Named like a replay but not one (the player's own file, or a link) is never
// pruned; the count and the size both limit what stays.
TEST(ReplayStream, PruningKeepsTheNewestOwnReplaysWithinCountAndSize) {
  makeTempRoot();
  ASSERT_TRUE(makeDirectory(replayFolder()));
  const std::string folder = resolvePath(replayFolder()) + "/";
  const std::string body = "pelta-replay 1\n" + std::string(100, '#') + "\n";
  for (uint64_t n = 1; n <= 6; ++n) {
    std::ofstream(folder + replayFileName(n)) << (n == 1 ? "the player's notes" : body);
  }
  ASSERT_EQ(symlink((folder + replayFileName(2)).c_str(), (folder + replayFileName(7)).c_str()), 0);
  const ReplayFolderLimits saved = replayFolderLimits;
  replayFolderLimits.count = 4;
  EXPECT_EQ(storeReplay(body), std::string(replayFolder()) + "/" + replayFileName(8));
  // 8, 6, 5, 4 kept by count; 1 and the link 7 are not the game's.
  std::vector<std::string> expected = {replayFileName(1), replayFileName(4), replayFileName(5),
                                       replayFileName(6), replayFileName(7), replayFileName(8)};
  EXPECT_EQ(replayNames(), expected);
  replayFolderLimits.bytes = 2 * body.size();
  EXPECT_FALSE(storeReplay(body).empty());
  expected = {replayFileName(1), replayFileName(7), replayFileName(8), replayFileName(9)};
  EXPECT_EQ(replayNames(), expected);
  replayFolderLimits = saved;
}
