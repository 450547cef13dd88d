// Sound-synthesis toolkit: noise, wavetables, filters and WAV encoding.
#include "synth.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

double Noise::next() {
  state = state * 1664525u + 1013904223u;
  return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
}

const std::vector<float> &wavetable(Wave wave, int harmonics) {
  static std::map<std::pair<int, int>, std::vector<float>> cache;
  auto key = std::make_pair(static_cast<int>(wave), harmonics);
  auto it = cache.find(key);
  if (it != cache.end()) {
    return it->second;
  }
  std::vector<double> acc(WAVETABLE_SIZE, 0.0);
  for (int k = 1; k <= std::max(1, harmonics); ++k) {
    double amp = 0.0;
    double phase = 0.0;
    switch (wave) {
    case Wave::Sine:
      amp = k == 1 ? 1.0 : 0.0;
      break;
    case Wave::Saw:
      amp = 1.0 / k;
      break;
    case Wave::Square:
      amp = (k % 2 == 1) ? 1.0 / k : 0.0;
      break;
    case Wave::Pulse25:
      amp = std::sin(PI * k * 0.25) / k;
      break;
    case Wave::Triangle:
      amp = (k % 2 == 1) ? 1.0 / (k * k) : 0.0;
      phase = (k % 4 == 3) ? PI : 0.0;
      break;
    case Wave::Organ:
      amp = (k == 1 || k == 2 || k == 3 || k == 4 || k == 6 || k == 8) ? 1.0 / std::sqrt(k) : 0.0;
      break;
    }
    // Soften the top harmonics so a table has no harsh edge.
    double roll = 1.0 - std::pow(static_cast<double>(k) / (harmonics + 1), 4.0);
    amp *= std::max(0.0, roll);
    if (amp == 0.0) {
      continue;
    }
    for (int i = 0; i < WAVETABLE_SIZE; ++i) {
      acc[i] += amp * std::sin(2.0 * PI * k * i / WAVETABLE_SIZE + phase);
    }
  }
  double peak = 1e-9;
  for (double v : acc) {
    peak = std::max(peak, std::fabs(v));
  }
  std::vector<float> table(WAVETABLE_SIZE);
  for (int i = 0; i < WAVETABLE_SIZE; ++i) {
    table[i] = static_cast<float>(acc[i] / peak);
  }
  return cache.emplace(key, std::move(table)).first->second;
}

double readTable(const std::vector<float> &table, double phase) {
  phase -= std::floor(phase);
  double pos = phase * WAVETABLE_SIZE;
  int i = static_cast<int>(pos);
  double frac = pos - i;
  int j = (i + 1) % WAVETABLE_SIZE;
  i %= WAVETABLE_SIZE;
  return table[i] + (table[j] - table[i]) * frac;
}

double OnePole::lowPass(double x, double cutoff, double rate) {
  double a = 1.0 - std::exp(-2.0 * PI * cutoff / rate);
  z += a * (x - z);
  return z;
}

double OnePole::highPass(double x, double cutoff, double rate) {
  return x - lowPass(x, cutoff, rate);
}

double Svf::process(double x, double cutoff, double q, double rate) {
  double f = 2.0 * std::sin(PI * std::min(cutoff, rate * 0.2) / rate);
  double high = x - low - q * band;
  band += f * high;
  low += f * band;
  return low;
}

std::vector<int16_t> toPcm16(const std::vector<double> &signal, double peak) {
  double maxAbs = 1e-9;
  for (double v : signal) {
    maxAbs = std::max(maxAbs, std::fabs(v));
  }
  double scale = peak * 32767.0 / maxAbs;
  std::vector<int16_t> pcm(signal.size());
  for (size_t i = 0; i < signal.size(); ++i) {
    double v = std::round(signal[i] * scale);
    pcm[i] = static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
  }
  return pcm;
}

std::vector<int16_t> toPcm16(const std::vector<double> &signal) {
  std::vector<int16_t> pcm(signal.size());
  for (size_t i = 0; i < signal.size(); ++i) {
    pcm[i] = static_cast<int16_t>(std::clamp(std::round(signal[i] * 32767.0), -32768.0, 32767.0));
  }
  return pcm;
}

namespace {
// One biquad section, direct form I.
struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
  double run(double x) {
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// The two stages of the BS.1770 K-weighting at any sample rate: a high shelf
// of +4 dB above about 1.5 kHz, then a high-pass at about 38 Hz.
void kWeighting(int32_t rate, Biquad *shelf, Biquad *highPass) {
  double k = std::tan(PI * 1681.974450955533 / rate);
  double q = 0.7071752369554196;
  double vh = std::pow(10.0, 3.999843853973347 / 20.0);
  double vb = std::pow(vh, 0.4996667741545416);
  double a0 = 1.0 + k / q + k * k;
  *shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
  k = std::tan(PI * 38.13547087602444 / rate);
  q = 0.5003270373238773;
  a0 = 1.0 + k / q + k * k;
  *highPass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}
} // namespace

double loudness(const std::vector<double> &signal, int32_t rate, size_t from, size_t to) {
  to = std::min(to, signal.size());
  Biquad shelf{};
  Biquad highPass{};
  kWeighting(rate, &shelf, &highPass);
  double sum = 0.0;
  for (size_t i = 0; i < to; ++i) {
    double y = highPass.run(shelf.run(signal[i]));
    if (i >= from) {
      sum += y * y;
    }
  }
  double meanSquare = to > from ? sum / static_cast<double>(to - from) : 0.0;
  return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-20));
}

std::pair<size_t, size_t> soundingPart(const std::vector<double> &signal) {
  double peak = 0.0;
  for (double v : signal) {
    peak = std::max(peak, std::fabs(v));
  }
  double floor = peak * std::pow(10.0, -30.0 / 20.0);
  size_t first = 0;
  size_t last = signal.size();
  while (first < last && std::fabs(signal[first]) < floor) {
    ++first;
  }
  while (last > first && std::fabs(signal[last - 1]) < floor) {
    --last;
  }
  return {first, last};
}

double scaleToLoudness(std::vector<double> &signal, int32_t rate, double lufs, size_t from,
                       size_t to) {
  double gain = std::pow(10.0, (lufs - loudness(signal, rate, from, to)) / 20.0);
  for (double &v : signal) {
    v *= gain;
  }
  return gain;
}

namespace {
void put32(std::vector<uint8_t> &out, uint32_t v) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
}
void put16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void putTag(std::vector<uint8_t> &out, const char *tag) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<uint8_t>(tag[i]));
  }
}
} // namespace

std::vector<uint8_t> encodeWav(const std::vector<int16_t> &pcm, int32_t rate) {
  std::vector<uint8_t> out;
  out.reserve(44 + pcm.size() * 2);
  uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  putTag(out, "RIFF");
  put32(out, 36 + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, 16);
  put16(out, 1); // PCM
  put16(out, 1); // mono
  put32(out, static_cast<uint32_t>(rate));
  put32(out, static_cast<uint32_t>(rate) * 2);
  put16(out, 2);
  put16(out, 16);
  putTag(out, "data");
  put32(out, dataBytes);
  for (int16_t s : pcm) {
    put16(out, static_cast<uint16_t>(s));
  }
  return out;
}

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }
