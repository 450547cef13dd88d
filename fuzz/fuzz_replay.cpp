// Fuzzes the replay reader: any text is either a replay whose frames run in
// order and which, written out again, reads back as the same text, or a
// one-line error; never more than the limits. The first byte picks the way
// in: the text as a string, as a real file read through its descriptor, or
// through a stream that fails part-way as a disk does (an error, no abort).
#include "fuzz_scratch.h"
#include "replay/replay_file.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <ios>
#include <sstream>
#include <streambuf>
#include <string>

namespace {
// Hands out the text, then fails as a file buffer does on a read error.
struct FailingBuffer : std::streambuf {
  std::string text;
  size_t at = 0;
  size_t failAt;
  bool failed = false;
  FailingBuffer(std::string t, size_t fail) : text(std::move(t)), failAt(fail) {}
  int_type underflow() override {
    if (at >= failAt) {
      failed = true;
      throw std::ios_base::failure("read error");
    }
    if (at >= text.size()) {
      return traits_type::eof();
    }
    return traits_type::to_int_type(text[at]);
  }
  int_type uflow() override {
    const int_type c = underflow();
    if (c != traits_type::eof()) {
      ++at;
    }
    return c;
  }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0) {
    return 0;
  }
  const uint8_t way = data[0];
  const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
  ScriptLimits limits;
  limits.maxEvents = 64;
  limits.maxLineLength = 256;
  limits.maxBytes = 16384;
  Replay replay;
  std::string error;
  bool parsed = false;
  if (way < 64) {
    const std::string path = fuzzScratchFolder() + "/fuzz.replay";
    std::ofstream(path, std::ios::binary) << text;
    parsed = readReplayFile(path, replay, error); // the default limits: more than the text
  } else if (way < 128) {
    FailingBuffer buffer(text, static_cast<size_t>(way - 64) * 16);
    std::istream in(&buffer);
    parsed = parseReplay(in, replay, error, limits);
    if (buffer.failed && (parsed || error.find("could not be read") == std::string::npos)) {
      std::abort(); // a read error is told as one, never taken for the end
    }
  } else {
    std::istringstream in(text);
    parsed = parseReplay(in, replay, error, limits);
  }
  if (parsed == !error.empty() || error.find('\n') != std::string::npos) {
    std::abort();
  }
  if (!parsed) {
    return 0;
  }
  uint64_t last = 1;
  for (const KeyEvent &e : replay.keys) {
    if (e.frame < last || e.frame > replay.end.frame) {
      std::abort();
    }
    last = e.frame;
  }
  for (size_t i = 1; i < replay.checks.size(); ++i) {
    if (replay.checks[i].frame <= replay.checks[i - 1].frame) {
      std::abort(); // one check a frame at most
    }
  }
  const std::string again = formatReplay(replay);
  std::istringstream in(again);
  Replay reread;
  if (!parseReplay(in, reread, error) || formatReplay(reread) != again ||
      reread.cutShort != replay.cutShort) {
    std::abort();
  }
  return 0;
}
