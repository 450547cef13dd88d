// pelta-sim's whole output for a set of seeds, levels and key scripts, pinned
// by a checksum of every state line. Refactors must leave it byte-identical;
// a failing case prints its command line so the difference can be replayed.
// Every case starts from the globals' start values, as a pelta-sim process
// does, so the pinned values are those the command line prints.
#include "sim.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

// Checksums everything written to it, so long runs need no memory.
class CrcBuffer : public std::streambuf {
public:
  uint32_t value = 0;
  uint64_t lines = 0;

protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) {
      const char ch = static_cast<char>(c);
      add(&ch, 1);
    }
    return c;
  }
  std::streamsize xsputn(const char *s, std::streamsize n) override {
    add(s, static_cast<size_t>(n));
    return n;
  }

private:
  std::string line;
  void add(const char *s, size_t n) {
    // crc32() is not incremental, so chain it line by line: crc of (previous
    // crc, line).
    for (size_t i = 0; i < n; ++i) {
      line.push_back(s[i]);
      if (s[i] == '\n') {
        line.append(reinterpret_cast<const char *>(&value), sizeof value);
        value = crc32(reinterpret_cast<const uint8_t *>(line.data()), line.size());
        line.clear();
        ++lines;
      }
    }
  }
};

// A key script that steers at random, turns often, presses Enter to go on
// after crashes and completed levels, and now and then the sound keys.
std::string steeringScript(uint32_t seed, uint64_t frames) {
  static const char *const ARROWS[] = {"UP", "DOWN", "LEFT", "RIGHT"};
  static const char *const OTHERS[] = {"S", "M", "PAGEUP", "PAGEDOWN", "HOME", "END"};
  uint32_t state = seed * 2654435761u + 1;
  auto next = [&state](uint32_t n) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % n;
  };
  std::ostringstream out;
  for (uint64_t frame = 181; frame + 4 < frames;) {
    const uint32_t pick = next(20);
    const uint64_t hold = 1 + next(pick < 2 ? 4 : 40);
    const char *key = pick < 15 ? ARROWS[pick % 4] : pick < 19 ? "ENTER" : OTHERS[next(6)];
    out << frame << ' ' << key << " +\n" << frame + hold << ' ' << key << " -\n";
    frame += hold + next(30);
  }
  return out.str();
}

// Cuts the field from border to border in strips STEP cells apart, back and
// forth, pressing Enter between cuts: enough to complete a level.
std::string sweepingScript(int step, uint64_t frames) {
  std::ostringstream out;
  uint64_t frame = 181;
  int x = 478;
  bool down = true;
  bool right = true;
  while (frame + 700 < frames) {
    const char *cut = down ? "DOWN" : "UP";
    out << frame << ' ' << cut << " +\n" << frame + 2 << ' ' << cut << " -\n";
    frame += 560;
    out << frame << " ENTER +\n" << frame + 2 << " ENTER -\n";
    frame += 4;
    if (right && x + step > 950) {
      right = false;
    } else if (!right && x - step < 10) {
      right = true;
    }
    x += right ? step : -step;
    const char *along = right ? "RIGHT" : "LEFT";
    out << frame << ' ' << along << " +\n" << frame + step << ' ' << along << " -\n";
    frame += step + 2;
    down = !down;
  }
  return out.str();
}

struct GoldenCase {
  uint32_t seed;
  uint32_t level;
  uint64_t frames;
  uint32_t script; // 0: no keys; 1000 + N: sweeping in strips N apart;
                   // otherwise the steering script's seed
  uint32_t crc;
  uint64_t lines;
};

const GoldenCase CASES[] = {
    {1, 1, 2000, 0, 0xf5358d0du, 286},           {2, 1, 3000, 11, 0xa7c50ff6u, 429},
    {3, 1, 4000, 12, 0x8d4afd40u, 572},          {4, 2, 4000, 13, 0x32e3cd28u, 572},
    {5, 3, 3000, 14, 0x37962b67u, 429},          {6, 5, 3000, 15, 0x79e65889u, 429},
    {7, 8, 3000, 16, 0xb02484efu, 429},          {8, 12, 3000, 17, 0x72deb5c8u, 429},
    {9, 20, 2500, 18, 0x821048cbu, 358},         {10, 33, 2500, 19, 0x078e6ffbu, 358},
    {11, 50, 2500, 20, 0x24a338bfu, 358},        {12, 75, 2000, 21, 0x440d070au, 286},
    {13, 100, 2000, 22, 0x7d497c76u, 286},       {14, 128, 2000, 23, 0xee76bc55u, 286},
    {15, 150, 2000, 24, 0xe95c09b9u, 286},       {16, 175, 1500, 25, 0xd6d93ad0u, 215},
    {17, 199, 1500, 26, 0x9d109b7du, 215},       {18, 200, 1500, 27, 0xd73dbf7fu, 215},
    {19, 200, 1200, 0, 0xa6ebc283u, 172},        {20, 1, 6000, 28, 0x4901f992u, 858},
    {4294967295, 1, 3000, 29, 0x9a065cb0u, 429}, {123456789, 7, 3000, 30, 0xb8e1a2c0u, 429},
    {42, 1, 5000, 31, 0x01abbc59u, 715},         {77, 2, 5000, 32, 0x7cb1e872u, 715},
    {5, 1, 22000, 1037, 0xd793e02bu, 3143}, // completes level 1
};

} // namespace

TEST(SimulatorGolden, OutputIsByteIdentical) {
  const char *print = std::getenv("PELTA_PRINT_GOLDEN");
  for (const GoldenCase &c : CASES) {
    const std::string script = c.script >= 1000 ? sweepingScript(c.script - 1000, c.frames)
                               : c.script       ? steeringScript(c.script, c.frames)
                                                : "";
    std::istringstream in(script);
    CrcBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    // Every 7th frame: any divergence carries on into the later lines.
    const std::vector<std::string> args = {"--seed",   std::to_string(c.seed),
                                           "--level",  std::to_string(c.level),
                                           "--frames", std::to_string(c.frames),
                                           "--every",  "7",
                                           "--keys",   "-"};
    ASSERT_EQ(simMain(args, in, out, err), 0) << err.str();
    if (print) {
      std::printf("    {%u, %u, %llu, %u, 0x%08xu, %llu},\n", c.seed, c.level,
                  static_cast<unsigned long long>(c.frames), c.script, buffer.value,
                  static_cast<unsigned long long>(buffer.lines));
      continue;
    }
    EXPECT_EQ(buffer.value, c.crc)
        << "pelta-sim --seed " << c.seed << " --level " << c.level << " --frames " << c.frames
        << " (steering script " << c.script << ")";
    EXPECT_EQ(buffer.lines, c.lines);
  }
}
