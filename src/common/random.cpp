// The classic linear congruential generator with 15-bit output; glibc's rand()
// returns 31 bits, which would change every `% n` and `rand() * rand()`.
#include "common/random.h"

namespace {
uint32_t randomState = 1;
}

void gameSrand(uint32_t seed) { randomState = seed; }

int32_t gameRand() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int32_t>((randomState >> 16) & 0x7FFFu);
}
