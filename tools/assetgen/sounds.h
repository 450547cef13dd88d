// The generator's sound effects and tunes, in memory, for the writers and tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t EFFECT_SAMPLE_RATE = 22050;
constexpr int EFFECT_FILE_COUNT = 13;
constexpr int TUNE_COUNT = 21;

// Mono 16-bit samples of effect 0 … 12 (empty for any other number).
std::vector<int16_t> effectSound(int effect);
// File name ("xm00.xm" …) and the bytes of tune 0 … 20.
std::string tuneFileName(int number);
std::vector<uint8_t> tuneBytes(int number);
struct TuneRecipe;
// The choices a tune was composed from.
const TuneRecipe &tuneRecipe(int number);
