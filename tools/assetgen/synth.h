// Small sound-synthesis toolkit for the generator: noise, band-limited
// wavetables, filters, envelopes, and 16-bit mono WAV encoding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

constexpr double PI = 3.14159265358979323846;

// Deterministic noise in -1 … 1 (own generator, fixed seed per sound).
struct Noise {
  uint32_t state;
  double next();
};

// One cycle of a band-limited waveform, sampled at WAVETABLE_SIZE points.
constexpr int WAVETABLE_SIZE = 4096;
enum class Wave : uint8_t { Sine, Saw, Square, Pulse25, Triangle, Organ };
// harmonics: highest harmonic kept (keeps the wave below the Nyquist rate).
const std::vector<float> &wavetable(Wave wave, int harmonics);
// Reads a table at phase 0 … 1 with linear interpolation.
double readTable(const std::vector<float> &table, double phase);

// One-pole low-pass and high-pass; cutoff in Hz at the given sample rate.
struct OnePole {
  double z = 0.0;
  double lowPass(double x, double cutoff, double rate);
  double highPass(double x, double cutoff, double rate);
};

// State-variable filter (Chamberlin) for resonant low/band-pass sweeps.
struct Svf {
  double low = 0.0;
  double band = 0.0;
  // Returns the low-pass output; band() holds the band-pass one.
  double process(double x, double cutoff, double q, double rate);
};

// Scales to peak `peak` (0 … 1) and converts to 16-bit.
std::vector<int16_t> toPcm16(const std::vector<double> &signal, double peak);
// Converts to 16-bit as it is (values already within -1 … 1).
std::vector<int16_t> toPcm16(const std::vector<double> &signal);

// Loudness (LUFS, ITU BS.1770 K-weighting, no gating) of a mono signal over
// [from, to), as one channel. Played as the same signal on both channels of a
// stereo output it measures 3 LU more.
double loudness(const std::vector<double> &signal, int32_t rate, size_t from = 0,
                size_t to = SIZE_MAX);
// The part of a sound within 30 dB of its peak: [first, last) indexes.
std::pair<size_t, size_t> soundingPart(const std::vector<double> &signal);
// Scales a signal in place so that `loudness` over [from, to) is `lufs`;
// returns the gain used.
double scaleToLoudness(std::vector<double> &signal, int32_t rate, double lufs, size_t from = 0,
                       size_t to = SIZE_MAX);
// RIFF WAV, PCM 16-bit mono.
std::vector<uint8_t> encodeWav(const std::vector<int16_t> &pcm, int32_t rate);
// Frequency of a MIDI note number (69 = A 440 Hz).
double midiFrequency(double note);
