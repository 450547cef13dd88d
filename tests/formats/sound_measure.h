// Measures of the generated sounds as a player hears them: tunes rendered by
// libopenmpt, effects mixed on top at the game's default volumes, loudness by
// libebur128 (BS.1770 / EBU R128). Shared by the sound check and the report.
#pragma once
#include "module_reader.h"
#include "sounds.h"
#include <algorithm>
#include <cmath>
#include <complex>
#include <ebur128.h>
#include <libopenmpt/libopenmpt_ext.h>
#include <vector>

// The game mixes at 44100 Hz; the default gains are in sounds.h.
constexpr int32_t OUT_RATE = 44100;

// Interleaved stereo at OUT_RATE.
using Stereo = std::vector<float>;

// `seconds` of an opened tune from `from`, looping for ever.
inline Stereo readLooping(openmpt_module *mod, double from, double seconds) {
  openmpt_module_set_repeat_count(mod, -1);
  if (from > 0.0) {
    openmpt_module_set_position_seconds(mod, from);
  }
  Stereo out(static_cast<size_t>(seconds * OUT_RATE) * 2);
  size_t got =
      openmpt_module_read_interleaved_float_stereo(mod, OUT_RATE, out.size() / 2, out.data());
  out.resize(got * 2);
  return out;
}

// `seconds` of a tune from `from`, looping for ever, scaled by gain.
inline Stereo renderTune(const std::vector<uint8_t> &bytes, double from, double seconds,
                         double gain = 1.0) {
  std::string log;
  openmpt_module *mod = openModule(bytes, &log);
  if (mod == nullptr) {
    return {};
  }
  Stereo out = readLooping(mod, from, seconds);
  openmpt_module_destroy(mod);
  for (float &v : out) {
    v = static_cast<float>(v * gain);
  }
  return out;
}

// One tune with every sample but `keep` (0-based) muted: one voice on its own.
inline Stereo renderVoice(const std::vector<uint8_t> &bytes, const std::vector<int32_t> &keep,
                          double from, double seconds) {
  openmpt_module_ext *ext = openmpt_module_ext_create_from_memory(
      bytes.data(), bytes.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
      nullptr, nullptr, nullptr, nullptr);
  if (ext == nullptr) {
    return {};
  }
  openmpt_module *mod = openmpt_module_ext_get_module(ext);
  openmpt_module_ext_interface_interactive interactive{};
  openmpt_module_ext_get_interface(ext, LIBOPENMPT_EXT_C_INTERFACE_INTERACTIVE, &interactive,
                                   sizeof interactive);
  int32_t count = openmpt_module_get_num_samples(mod);
  for (int32_t i = 0; i < count; ++i) {
    bool kept = std::find(keep.begin(), keep.end(), i) != keep.end();
    interactive.set_instrument_mute_status(ext, i, kept ? 0 : 1);
  }
  Stereo out = readLooping(mod, from, seconds);
  openmpt_module_ext_destroy(ext);
  return out;
}

// An effect as the mixer plays it: the 22050 Hz mono file doubled to 44100 Hz
// by a band-limited (windowed-sinc) interpolation, as SDL converts it, on both
// channels, scaled by gain.
inline Stereo effectStereo(const std::vector<int16_t> &pcm, double gain) {
  constexpr int TAPS = 16; // zero crossings of the sinc on each side
  static const std::vector<double> h = [] {
    std::vector<double> taps;
    for (int k = 0; k < TAPS; ++k) {
      double x = k + 0.5; // the new sample sits half-way between two old ones
      double window =
          0.42 + 0.5 * std::cos(M_PI * x / TAPS) + 0.08 * std::cos(2.0 * M_PI * x / TAPS);
      taps.push_back(std::sin(M_PI * x) / (M_PI * x) * window);
    }
    return taps;
  }();
  auto at = [&pcm](std::ptrdiff_t i) {
    return i >= 0 && i < static_cast<std::ptrdiff_t>(pcm.size())
               ? pcm[static_cast<size_t>(i)] / 32768.0
               : 0.0;
  };
  Stereo out;
  out.reserve(pcm.size() * 4);
  for (std::ptrdiff_t i = 0; i < static_cast<std::ptrdiff_t>(pcm.size()); ++i) {
    double between = 0.0;
    for (int k = 0; k < TAPS; ++k) {
      between += h[static_cast<size_t>(k)] * (at(i - k) + at(i + 1 + k));
    }
    for (double v : {at(i), between}) {
      out.push_back(static_cast<float>(v * gain));
      out.push_back(static_cast<float>(v * gain));
    }
  }
  return out;
}

// The sounding part of an effect: from its first to its last sample within
// 30 dB of its peak.
inline std::vector<int16_t> soundingPart(const std::vector<int16_t> &pcm) {
  int peak = 0;
  for (int16_t s : pcm) {
    peak = std::max(peak, std::abs(static_cast<int>(s)));
  }
  double floor = peak * std::pow(10.0, -30.0 / 20.0);
  size_t first = 0;
  size_t last = pcm.size();
  while (first < pcm.size() && std::abs(static_cast<int>(pcm[first])) < floor) {
    ++first;
  }
  while (last > first && std::abs(static_cast<int>(pcm[last - 1])) < floor) {
    --last;
  }
  return {pcm.begin() + static_cast<std::ptrdiff_t>(first),
          pcm.begin() + static_cast<std::ptrdiff_t>(last)};
}

// Gated integrated loudness (LUFS) of a stereo stretch.
inline double integratedLoudness(const Stereo &s) {
  ebur128_state *st = ebur128_init(2, OUT_RATE, EBUR128_MODE_I);
  ebur128_add_frames_float(st, s.data(), s.size() / 2);
  double lufs = -HUGE_VAL;
  ebur128_loudness_global(st, &lufs);
  ebur128_destroy(&st);
  return lufs;
}

// Loudness range (LU, EBU Tech 3342): how far the level moves over a stretch.
inline double loudnessRange(const Stereo &s) {
  ebur128_state *st = ebur128_init(2, OUT_RATE, EBUR128_MODE_LRA);
  ebur128_add_frames_float(st, s.data(), s.size() / 2);
  double lu = 0.0;
  ebur128_loudness_range(st, &lu);
  ebur128_destroy(&st);
  return lu;
}

// Ungated loudness (LUFS) over the whole of a short stretch.
inline double windowLoudness(const Stereo &s) {
  unsigned long ms = static_cast<unsigned long>(s.size() / 2 * 1000 / OUT_RATE);
  if (ms == 0) {
    return -HUGE_VAL;
  }
  ebur128_state *st = ebur128_init(2, OUT_RATE, EBUR128_MODE_M);
  ebur128_set_max_window(st, ms);
  ebur128_add_frames_float(st, s.data(), s.size() / 2);
  double lufs = -HUGE_VAL;
  ebur128_loudness_window(st, ms, &lufs);
  ebur128_destroy(&st);
  return lufs;
}

// Loudness of an effect over its sounding part, at the given gain.
inline double effectLoudness(const std::vector<int16_t> &pcm, double gain) {
  return windowLoudness(effectStereo(soundingPart(pcm), gain));
}

inline float peakOf(const Stereo &s) {
  float p = 0.0f;
  for (float v : s) {
    p = std::max(p, std::fabs(v));
  }
  return p;
}

// In-place iterative radix-2 FFT (the size a power of two).
inline void fft(std::vector<std::complex<double>> &x) {
  size_t n = x.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) {
      j ^= bit;
    }
    j ^= bit;
    if (i < j) {
      std::swap(x[i], x[j]);
    }
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    std::complex<double> step = std::polar(1.0, -2.0 * M_PI / static_cast<double>(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w(1.0);
      for (size_t k = 0; k < len / 2; ++k) {
        std::complex<double> u = x[i + k];
        std::complex<double> v = x[i + k + len / 2] * w;
        x[i + k] = u + v;
        x[i + k + len / 2] = u - v;
        w *= step;
      }
    }
  }
}

// Shares of the energy of a stretch (mono sum) in [lowHz, highHz) for each
// band, from averaged Hann-windowed spectra.
inline std::vector<double> bandShares(const Stereo &s,
                                      const std::vector<std::pair<double, double>> &bands) {
  constexpr size_t N = 4096;
  std::vector<double> power(N / 2, 0.0);
  std::vector<std::complex<double>> x(N);
  for (size_t start = 0; start + N <= s.size() / 2; start += N / 2) {
    for (size_t i = 0; i < N; ++i) {
      double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / N);
      x[i] = w * 0.5 * (s[2 * (start + i)] + s[2 * (start + i) + 1]);
    }
    fft(x);
    for (size_t k = 1; k < N / 2; ++k) {
      power[k] += std::norm(x[k]);
    }
  }
  double total = 1e-30;
  for (double p : power) {
    total += p;
  }
  std::vector<double> shares;
  for (const auto &band : bands) {
    double sum = 0.0;
    for (size_t k = 1; k < N / 2; ++k) {
      double hz = static_cast<double>(k) * OUT_RATE / N;
      if (hz >= band.first && hz < band.second) {
        sum += power[k];
      }
    }
    shares.push_back(sum / total);
  }
  return shares;
}

// Adds `b` into `a` from frame `at` on, extending `a` as needed.
inline void mixInto(Stereo &a, const Stereo &b, size_t at) {
  if (a.size() < 2 * at + b.size()) {
    a.resize(2 * at + b.size(), 0.0f);
  }
  for (size_t i = 0; i < b.size(); ++i) {
    a[2 * at + i] += b[i];
  }
}
