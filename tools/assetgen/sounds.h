// The generator's sound effects and tunes, in memory, for the writers and tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t EFFECT_SAMPLE_RATE = 22050;
constexpr int EFFECT_FILE_COUNT = 13;
constexpr int TUNE_COUNT = 21;

// The volumes of the default settings file (0 … 10000) and the gains they
// give: the music is scaled linearly; an effect channel gets the mixer volume
// round(volume / 10000 × 128) of 128.
constexpr int32_t DEFAULT_EFFECTS_VOLUME = 8000;
constexpr int32_t DEFAULT_MUSIC_VOLUME = 7000;
constexpr double DEFAULT_MUSIC_GAIN = DEFAULT_MUSIC_VOLUME / 10000.0;
constexpr double DEFAULT_EFFECT_GAIN =
    static_cast<int>(DEFAULT_EFFECTS_VOLUME * 128 / 10000.0 + 0.5) / 128.0;

// Loudness of the in-game tunes at full gain (LUFS, integrated over a pass),
// which the composer's voice levels are set for.
constexpr double TUNE_LOUDNESS = -21.0;
// Loudness of each effect at the default volumes, in LU against the in-game
// music at the default volumes (see effects.cpp).
double effectTarget(int effect);

// Mono 16-bit samples of effect 0 … 12 (empty for any other number).
std::vector<int16_t> effectSound(int effect);
// File name ("xm00.xm" …) and the bytes of tune 0 … 20.
std::string tuneFileName(int number);
std::vector<uint8_t> tuneBytes(int number);
struct TuneRecipe;
// The choices a tune was composed from.
const TuneRecipe &tuneRecipe(int number);
