// Replays of whole games: what the program records as it is played, checked
// by the simulator, played again in-process and by the program itself, and a
// one-key change found at the right frame.
#include "audio/audio.h"
#include "common/files.h"
#include "common/random.h"
#include "persistence/saved_game.h"
#include "persistence/top_ten.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "replay/replay.h"
#include "replay/replay_folder.h"
#include "shell/shell.h"
#include "sim.h"
#include "state/game_state.h"
#include "test_support.h"
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// The simulator's sweeping cut: strips 37 cells apart from border to border,
// Enter between cuts. At seed 5 it crashes, loses a game, starts a new one
// and completes level 1 after some 21000 frames.
std::vector<KeyEvent> sweepingKeys(uint64_t frames) {
  constexpr int STEP = 37;
  std::vector<KeyEvent> keys;
  auto tap = [&keys](uint64_t frame, int key, uint64_t hold) {
    keys.push_back({frame, key, true});
    keys.push_back({frame + hold, key, false});
  };
  uint64_t frame = 181;
  int x = 478;
  bool down = true;
  bool right = true;
  while (frame + 700 < frames) {
    tap(frame, down ? VK_DOWN : VK_UP, 2);
    frame += 560;
    tap(frame, VK_RETURN, 2);
    frame += 4;
    right = right ? x + STEP <= 950 : x - STEP < 10;
    x += right ? STEP : -STEP;
    tap(frame, right ? VK_RIGHT : VK_LEFT, STEP);
    frame += STEP + 2;
    down = !down;
  }
  return keys;
}

struct SimRun {
  int code;
  std::string out;
  std::string err;
};

SimRun simulate(const std::vector<std::string> &args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int code = simMain(args, in, out, err);
  return {code, out.str(), err.str()};
}

Replay readBack(const std::string &path) {
  Replay replay;
  std::string error;
  EXPECT_TRUE(readReplayFile(resolvePath(path.c_str()), replay, error)) << error;
  return replay;
}

// From the menu into the game screen with `key` (Enter or L).
void enterFromMenu(int key) {
  pressKey(key);
  runFrames(1);
  releaseKey(key);
  ASSERT_EQ(screenState, Game);
}

bool endsWith(const std::string &text, const std::string &end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<uint8_t> fileBytes(const char *path) {
  std::vector<uint8_t> bytes;
  readWholeFile(path, bytes);
  return bytes;
}

} // namespace

// A new game with a capture, crashes, a lost game, a new one, a save and a
// level change, then a continued saved game: each leaves a replay that the
// simulator verifies. Changing one key in it is found at the first check
// after the change. Played again in-process it matches and writes no file.
TEST(Replay, PlayedGamesAreRecordedAndVerifiedToTheLastCell) {
  startHeadless();
  recordingEnabled = 1;
  enterFromMenu(VK_RETURN);
  gameSrand(5); // the generator as the first game frame finds it
  const std::vector<KeyEvent> keys = sweepingKeys(22000);
  size_t next = 0;
  uint64_t frame = 0;
  uint64_t levelTwoFrame = 0;
  bool saved = false;
  while (screenState == Game && frame < 23000) {
    ++frame;
    for (; next < keys.size() && keys[next].frame == frame; ++next) {
      headless::setKey(keys[next].virtualKey, keys[next].down);
    }
    // S once on the level-complete screen, Escape 200 frames into level 2.
    headless::setKey('S', levelComplete != 0 && !saved);
    saved = saved || levelComplete != 0;
    if (level == 2 && levelTwoFrame == 0) {
      levelTwoFrame = frame;
    }
    headless::setKey(VK_ESCAPE, levelTwoFrame != 0 && frame >= levelTwoFrame + 200);
    runFrame();
    headless::clearDrawLog();
  }
  headless::releaseAllKeys();
  ASSERT_EQ(screenState, MainMenu);
  ASSERT_NE(levelTwoFrame, 0u);
  const std::string first = lastReplayPath();
  ASSERT_FALSE(first.empty());
  const Replay played = readBack(first);
  EXPECT_EQ(played.start.seed, 5u);
  EXPECT_EQ(played.start.keyLatch, 1);
  ASSERT_EQ(played.saves.size(), 1u);
  EXPECT_TRUE(played.saves[0].written);
  // Enter after the lost game and after level 1: each check holds the field
  // that was played and the values the next set-up starts from.
  // A check every 200 frames besides those after the lost game and level 1.
  ASSERT_GE(played.checks.size(), frame / 200);
  EXPECT_EQ(played.checks.front().level, 1u);
  EXPECT_EQ(played.checks.back().level, 2u);
  for (size_t i = 1; i < played.checks.size(); ++i) {
    EXPECT_LE(played.checks[i].frame - played.checks[i - 1].frame, 200u);
  }
  EXPECT_EQ(played.end.frame, frame);
  EXPECT_EQ(played.end.screen, MainMenu);
  EXPECT_EQ(played.end.level, 2u);

  // The saved game continues at level 2 from the menu.
  runFrames(2);
  enterFromMenu('L');
  EXPECT_EQ(gameLoaded, 1);
  for (int f = 1; f <= 400; ++f) {
    headless::setKey(VK_DOWN, f >= 190 && f < 250);
    headless::setKey(VK_ESCAPE, f == 400);
    runFrame();
  }
  headless::releaseAllKeys();
  ASSERT_EQ(screenState, MainMenu);
  const std::string second = lastReplayPath();
  ASSERT_NE(second, first);
  const Replay loaded = readBack(second);
  EXPECT_EQ(loaded.start.gameLoaded, 1);
  EXPECT_EQ(loaded.start.level, 2u);
  EXPECT_EQ(loaded.start.totalScore, played.end.totalScore);

  // Played again here, as the window plays it: the same result, and neither
  // the save nor anything else touches the player's files or records anew.
  // (Written again, the save would be the same bytes: another one is put there.)
  ASSERT_TRUE(storeSavedGame(SavedGame{1, 3, 2, 1}));
  recordingEnabled = 1;
  const std::vector<uint8_t> topTenBefore = fileBytes(TOP_TEN_FILE);
  const size_t replaysBefore = listFolder(replayFolder()).size();
  startPlayback(played);
  while (!playbackFinished()) {
    runFrame();
    headless::clearDrawLog();
  }
  recordingEnabled = 0;
  EXPECT_EQ(playbackReport(),
            "replay verified: " + std::to_string(played.checks.size() + 1) + " checks over " +
                std::to_string(frame) + " frames");
  EXPECT_EQ(fileBytes(TOP_TEN_FILE), topTenBefore);
  EXPECT_EQ(listFolder(replayFolder()).size(), replaysBefore);

  // The simulator plays in a folder of its own: paths are taken before.
  const std::string firstPath = resolvePath(first.c_str());
  const std::string secondPath = resolvePath(second.c_str());
  const std::string changedPath = resolvePath("changed.replay");
  SimRun run = simulate({"--replay", firstPath, "--every", "1000"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err,
            "pelta-sim: replay verified: " + std::to_string(played.checks.size() + 1) +
                " checks over " + std::to_string(frame) + " frames\n");
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'),
            int(frame / 1000 + (frame % 1000 != 0)));

  // One key changed: the first cut goes right instead of down, so the lost
  // game ends differently; Escape becomes Up, so the screen is never left.
  size_t escape = 0;
  while (played.keys[escape].virtualKey != VK_ESCAPE) {
    ++escape;
  }
  const struct {
    size_t key;
    int becomes;
    uint64_t differsAt;
  } changes[] = {{0, VK_RIGHT, 0}, {escape, VK_UP, played.end.frame}};
  for (const auto &change : changes) {
    Replay changed = played;
    changed.keys[change.key].virtualKey = change.becomes;
    std::ofstream(changedPath) << formatReplay(changed);
    run = simulate({"--replay", changedPath, "--every", "100000"});
    EXPECT_EQ(run.code, REPLAY_DIFFERS_EXIT);
    // The first changed cut shows at the first check after it.
    const std::string at = change.differsAt != 0 ? std::to_string(change.differsAt) + ": " : "";
    EXPECT_EQ(run.err.rfind("pelta-sim: replay differs at frame " + at, 0), 0u) << run.err;
  }

  run = simulate({"--replay", secondPath, "--every", "1000"});
  EXPECT_EQ(run.code, 0) << run.err;
}

// The program's end (a window close, SIGTERM) writes the game being played;
// `pelta --replay` plays it through and ends, leaving the top ten and the
// settings as they were; the watcher's Escape stops it at once.
TEST(Replay, TheProgramEndKeepsTheGameAndWatchingItWritesNothing) {
  headless::reset();
  makeTempRoot();
  screenState = MainMenu;
  screenEntryPending = 1;
  keyLatch = 0;
  headless::setKey(VK_RETURN, true); // into the game, and held there
  headless::setKey('S', true);       // so the key latch keeps S from the music
  headless::setKey(VK_DOWN, true);   // out into the field once it may move
  headless::pushWindowEvent(WindowEvent::Activated);
  for (int i = 0; i < 400; ++i) {
    headless::pushWindowEvent(WindowEvent::None);
  }
  headless::pushWindowEvent(WindowEvent::Quit);
  ASSERT_EQ(runPelta(""), 0);
  const std::vector<std::string> names = listFolder(replayFolder());
  ASSERT_EQ(names.size(), 1u);
  const Replay replay = readBack(std::string(replayFolder()) + "/" + names[0]);
  EXPECT_EQ(replay.end.frame, 399u); // the first frame was the menu's
  EXPECT_EQ(replay.end.screen, Game);

  // A top ten and settings other than the recorded ones: a write would show.
  topTenFileTable[0].score = 777;
  ASSERT_TRUE(writeTopTenFile());
  std::vector<uint8_t> otherSettings(16);
  for (int i = 0; i < 4; ++i) {
    writeLe32(otherSettings.data() + 4 * i, i < 2 ? 1234 : 3);
  }
  ASSERT_TRUE(replaceFileAtomically("data/setting.pta", otherSettings));
  const std::vector<uint8_t> topTen = fileBytes(TOP_TEN_FILE);
  const std::vector<uint8_t> settings = fileBytes("data/setting.pta");
  const struct {
    bool escape;
    std::string report;
  } watches[] = {
      {false, "pelta: replay verified: " + std::to_string(replay.checks.size() + 1) +
                  " checks over 399 frames\n"},
      {true, "pelta: replay stopped at frame 1 of 399; it matched the recording so far\n"},
  };
  for (const auto &watch : watches) {
    headless::reset();
    headless::setKey(VK_ESCAPE, watch.escape);
    headless::pushWindowEvent(WindowEvent::Activated);
    testing::internal::CaptureStderr();
    EXPECT_EQ(runPelta("", &replay), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(endsWith(err, watch.report)) << err;
    EXPECT_EQ(fileBytes(TOP_TEN_FILE), topTen);
    EXPECT_EQ(fileBytes("data/setting.pta"), settings);
    EXPECT_EQ(listFolder(replayFolder()).size(), 1u);
  }
  headless::reset();
}
