// The game's one random generator: values 0..32767, seeded once at start-up.
// Every random choice draws from it in a fixed order, so a seed replays a game.
#pragma once
#include <cstdint>

constexpr int32_t RAND_LIMIT = 32767;

void gameSrand(uint32_t seed);
// The whole state: gameSrand of this value goes on with the same numbers.
uint32_t gameRandState();
// Next value, 0..32767.
int32_t gameRand();
// A new game's identity (kept in a saved game and a top-ten row): the product
// of the next two values plus one, never 0.
int32_t drawGameId();
