// Clocks and sleeping for the frame pacing.
#pragma once
#include <cstdint>

// Milliseconds from an arbitrary start; wraps like a 32-bit counter.
uint32_t timeGetTime();
// Microseconds from an arbitrary start, for measuring frames (never wraps).
uint64_t timeMicroseconds();
// Sleeps at least this many milliseconds (1 ms resolution).
void sleepMilliseconds(uint32_t ms);
// Calendar time in seconds, used once to seed the random generator.
uint32_t calendarTimeSeconds();
