// Writes valid inputs for the fuzzers into <folder>/<target>/ as a starting corpus.
#include "common/files.h"
#include "common/random.h"
#include "persistence/record_code.h"
#include "persistence/saved_game.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "platform/input.h"
#include "replay/replay_file.h"
#include "state/game_state.h"
#include <cstdio>
#include <string>
#include <vector>

namespace {
void writeSeed(const std::string &folder, const char *target, const char *name,
               const std::vector<uint8_t> &bytes) {
  std::string dir = folder + "/" + target;
  makeDirectory(dir.c_str());
  replaceFileAtomically((dir + "/" + name).c_str(), bytes);
}
} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds <corpus folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  makeDirectory(folder.c_str());
  gameSrand(2024);
  makeDirectory((folder + "/files").c_str());
  setUserRoot(folder + "/files");
  makeDirectory("data");
  resetTopTenFile();
  level = 41;
  lives = 3;
  totalScore = 123456;
  gameId = 777;
  writeSavedGame();
  std::vector<uint8_t> topTen;
  readWholeFile(TOP_TEN_FILE, topTen);
  setUserRoot("");
  writeSeed(folder, "fuzz_top_ten", "tt.pta", topTen);
  writeSeed(folder, "fuzz_saved_game", "tt.pta", topTen);
  writeSeed(folder, "fuzz_decode_record", "record",
            std::vector<uint8_t>(topTen.begin(), topTen.begin() + RECORD_TEXT_LENGTH));
  writeSeed(folder, "fuzz_settings", "setting.pta",
            {0x10, 0x27, 0, 0, 0xFC, 0, 0, 0, 21, 0, 0, 0, 7, 0, 0, 0});
  // The start of a PNG of the playfield's size: signature, IHDR, first bytes.
  writeSeed(folder, "fuzz_picture_header", "game.pta",
            {0x89, 'P', 'N', 'G',  '\r', '\n', 0x1A, '\n', 0,    0, 0, 13, 'I', 'H', 'D',
             'R',  0,   0,   0x07, 0x80, 0,    0,    0x04, 0x06, 8, 6, 0,  0,   0});
  const std::string script = "# out and back\n181 DOWN +\n211 DOWN -\n211 RIGHT +\n"
                             "221 RIGHT -\n221 UP +\n222 UP -\n230 ENTER + # next\n";
  writeSeed(folder, "fuzz_key_script", "bug.keys",
            std::vector<uint8_t>(script.begin(), script.end()));
  Replay replay;
  replay.start.program = "2.0";
  replay.start.seed = 5;
  replay.keys = {{181, VK_DOWN, true}, {183, VK_DOWN, false}, {600, 'S', true}};
  replay.saves = {{600, true}};
  replay.checks = {{610, 2, 2, 5, 1000, 200000, 0x12345678u, 0x9abcdef0u}};
  replay.end = {700, 1, 2, 5, 1000, 0, 0x0badf00du, 0xfeedfaceu};
  const std::string replayText = formatReplay(replay);
  // The first byte picks the way in: a string, a real file, a failing read.
  for (const uint8_t way : {uint8_t(0), uint8_t(70), uint8_t(200)}) {
    std::vector<uint8_t> seed{way};
    seed.insert(seed.end(), replayText.begin(), replayText.end());
    writeSeed(folder, "fuzz_replay", ("game-" + std::to_string(way) + ".replay").c_str(), seed);
  }
  writeSeed(folder, "fuzz_command_line", "row", {'1', '6'});
  writeSeed(folder, "fuzz_command_line", "two", {'5', 0, 'a', 'b', 'c'});
  const char options[] = "--window\0--display\0"
                         "1\0--user-dir=/u\0--\0"
                         "7";
  writeSeed(folder, "fuzz_command_line", "options",
            std::vector<uint8_t>(options, options + sizeof options - 1));
  // Tune 3, then the headers the sound device recognises.
  const std::string wav = std::string("\x03RIFF\x24\0\0\0WAVEfmt ", 17);
  writeSeed(folder, "fuzz_sound_files", "effect.wav", std::vector<uint8_t>(wav.begin(), wav.end()));
  const std::string xm = "\x05"
                         "Extended Module: pelta";
  writeSeed(folder, "fuzz_sound_files", "tune.xm", std::vector<uint8_t>(xm.begin(), xm.end()));
  return 0;
}
