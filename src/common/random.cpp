// A linear congruential generator with 15-bit output, 0..32767: every `% n`
// and `rand() * rand() + 1` of the rules is written for that range, which
// glibc's 31-bit rand() would break.
#include "common/random.h"
#include "common/start_values.h"

namespace {
uint32_t randomState = 1;
}

void gameSrand(uint32_t seed) { randomState = seed; }

uint32_t gameRandState() { return randomState; }

int32_t gameRand() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int32_t>((randomState >> 16) & 0x7FFFu);
}

int32_t drawGameId() {
  const int32_t first = gameRand();
  const int32_t second = gameRand();
  return first * second + 1;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    randomState);
} // namespace
