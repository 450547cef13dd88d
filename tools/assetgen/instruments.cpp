// Tracker instruments built from wavetables and noise. A looped voice plays
// whole numbers of cycles of every oscillator within its loop, so the sustain
// repeats without a seam.
#include "instruments.h"
#include "synth.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {
struct Osc {
  Wave wave;
  double level;
  int32_t extraCycles; // detune: 1 sharp, -1 flat, by about ten cents (see looped)
  int32_t octave;      // 0 root, 1 an octave up, -1 down
};

struct VoiceShape {
  std::vector<Osc> oscs;
  double attack;      // seconds
  double decayTo;     // sustain level after the attack's decay
  double decayTime;   // seconds of the decay before the loop
  double cutoffStart; // low-pass in multiples of the root frequency
  double cutoffEnd;
  double loopSeconds; // about this long a loop
};

// Basses sound their written note as the lowest partial (no oscillator an
// octave under it), so the line stays above 40 Hz and small speakers still
// carry its upper partials.
VoiceShape shapeOf(Voice v) {
  // clang-format off
  switch (v) {
  //                                 oscillators: wave, level, extra cycles, octave             attack decay  time  cutoff from, to  loop
  case Voice::BassSaw:    return {{{Wave::Saw, 1.0, 0, 0}, {Wave::Saw, 0.35, 1, 0}},                 0.004, 0.85, 0.25, 28.0, 12.0, 0.5};
  case Voice::BassSquare: return {{{Wave::Square, 1.0, 0, 0}, {Wave::Pulse25, 0.45, 1, 0}},           0.003, 0.75, 0.2,  24.0, 12.0, 0.5};
  case Voice::BassRound:  return {{{Wave::Triangle, 1.0, 0, 0}, {Wave::Sine, 0.5, 0, 0}, {Wave::Saw, 0.35, 0, 1}}, 0.006, 0.8, 0.3, 16.0, 10.0, 0.5};
  case Voice::LeadSquare: return {{{Wave::Square, 0.8, 0, 0}, {Wave::Pulse25, 0.5, 1, 0}},            0.01,  0.8,  0.3,  18.0, 12.0, 0.5};
  case Voice::LeadSaw:    return {{{Wave::Saw, 0.7, 0, 0}, {Wave::Saw, 0.6, 1, 0}, {Wave::Square, 0.2, 0, 1}}, 0.012, 0.8, 0.3, 16.0, 11.0, 0.5};
  case Voice::LeadFlute:  return {{{Wave::Triangle, 0.5, 0, 0}, {Wave::Sine, 0.25, 0, 1}, {Wave::Pulse25, 0.7, 1, 0}, {Wave::Saw, 0.75, 0, 1}}, 0.03, 0.9, 0.3, 24.0, 24.0, 0.5};
  case Voice::LeadPulse:  return {{{Wave::Pulse25, 1.0, 0, 0}, {Wave::Pulse25, 0.35, 1, 0}},          0.006, 0.9,  0.25, 20.0, 12.0, 0.5};
  case Voice::PadStrings: return {{{Wave::Saw, 0.6, 0, 0}, {Wave::Saw, 0.55, 1, 0}, {Wave::Saw, 0.5, -1, 0}}, 0.12, 1.0, 0.1, 6.0, 6.0, 0.5};
  case Voice::PadOrgan:   return {{{Wave::Organ, 0.8, 0, 0}, {Wave::Organ, 0.5, 1, 0}},               0.02,  0.9,  0.1,  10.0, 10.0, 0.5};
  case Voice::PadSoft:    return {{{Wave::Triangle, 0.8, 0, 0}, {Wave::Triangle, 0.6, 1, 0}, {Wave::Saw, 0.3, -1, 1}}, 0.15, 1.0, 0.1, 8.0, 8.0, 0.5};
  case Voice::ChipChord:  return {{{Wave::Pulse25, 0.9, 0, 0}, {Wave::Square, 0.3, 0, 0}},            0.003, 0.7,  0.15, 20.0, 12.0, 0.25};
  default:                return {{{Wave::Sine, 1.0, 0, 0}},                                          0.01,  1.0,  0.1,  8.0,  8.0,  0.25};
  }
  // clang-format on
}

std::vector<double> looped(Voice v, int32_t rate, int32_t root, int32_t *loopStart,
                           int32_t *loopLength) {
  VoiceShape shape = shapeOf(v);
  double f0 = midiFrequency(root);
  // Whole cycles of the root within an even number of frames: pitch error well
  // under a cent, and a loop a MOD can address in words.
  // An even count, so the sub-octave oscillator fits whole cycles as well.
  int32_t cycles =
      std::max<int32_t>(4, 2 * static_cast<int32_t>(std::lround(f0 * shape.loopSeconds / 2.0)));
  // A detuned oscillator plays whole cycles too, so its detune is a whole
  // number of cycles in the loop: at least 160 of the root keep one cycle
  // under 11 cents, a gentle chorus rather than a beat a semitone wide.
  bool detuned = std::any_of(shape.oscs.begin(), shape.oscs.end(),
                             [](const Osc &o) { return o.extraCycles != 0; });
  if (detuned && cycles < 160) {
    cycles = 160;
  }
  int32_t detune = std::max<int32_t>(1, static_cast<int32_t>(std::lround(cycles * 0.0058)));
  int32_t length = static_cast<int32_t>(std::lround(cycles * rate / f0));
  length += length % 2;
  int32_t start = static_cast<int32_t>((shape.attack + shape.decayTime) * rate);
  start += start % 2;
  std::vector<double> out(static_cast<size_t>(start + length), 0.0);
  for (const Osc &o : shape.oscs) {
    int32_t c = o.octave >= 0 ? (cycles << o.octave) : cycles / 2;
    c += o.extraCycles * detune;
    double freq = static_cast<double>(c) * rate / length;
    int harmonics = std::max(1, static_cast<int>(rate * 0.45 / freq));
    const auto &table = wavetable(o.wave, std::min(harmonics, 60));
    for (size_t n = 0; n < out.size(); ++n) {
      int64_t k = (static_cast<int64_t>(n) * c) % length;
      out[n] += o.level * readTable(table, static_cast<double>(k) / length);
    }
  }
  OnePole lp1;
  OnePole lp2;
  double sustainCut = std::min(shape.cutoffEnd * f0, rate * 0.45);
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / rate;
    double env;
    double cut;
    if (t < shape.attack) {
      env = t / shape.attack;
      cut = shape.cutoffStart * f0;
    } else if (static_cast<int32_t>(n) < start) {
      double u = (t - shape.attack) / std::max(1e-6, shape.decayTime);
      env = 1.0 + (shape.decayTo - 1.0) * u;
      cut = (shape.cutoffStart + (shape.cutoffEnd - shape.cutoffStart) * u) * f0;
    } else {
      env = shape.decayTo;
      cut = sustainCut;
    }
    cut = std::min(cut, rate * 0.45);
    out[n] = env * lp2.lowPass(lp1.lowPass(out[n], cut, rate), cut * 1.5, rate);
  }
  // The filters' start-up has died out long before the loop; copying the
  // loop's first frames over its tail would be the only other source of a seam.
  *loopStart = start;
  *loopLength = length;
  return out;
}

// The drum kits: each tunes its kick, snare and hats its own way, so the
// tunes do not all share one kit.
struct Kit {
  double kickLow, kickSweep, kickDecay, kickClick; // Hz, Hz, 1/s, level
  double snareBody, snareNoise, snareDecay, snareRattle; // Hz, Hz, 1/s, level
  double hatCut, closedDecay, openDecay;              // share of the rate, 1/s, 1/s
};
const Kit KITS[] = {
    {50.0, 120.0, 8.0, 0.5, 185.0, 6000.0, 13.0, 1.1, 0.28, 60.0, 9.0},  // punchy
    {42.0, 170.0, 5.5, 0.3, 160.0, 3500.0, 9.0, 1.4, 0.2, 40.0, 6.0},   // deep and roomy
    {62.0, 90.0, 14.0, 0.8, 240.0, 8000.0, 20.0, 0.8, 0.33, 90.0, 14.0}, // tight and dry
    {46.0, 220.0, 7.0, 0.15, 205.0, 2500.0, 16.0, 1.6, 0.24, 55.0, 4.5}, // soft, dark rattle
    {56.0, 140.0, 10.0, 1.0, 280.0, 9000.0, 24.0, 0.6, 0.3, 120.0, 18.0}, // bright and clicky
};
constexpr int32_t KIT_COUNT = sizeof KITS / sizeof KITS[0];

std::vector<double> drum(Voice v, int32_t rate, int32_t kit) {
  const Kit &k = KITS[((kit % KIT_COUNT) + KIT_COUNT) % KIT_COUNT];
  Noise noise{static_cast<uint32_t>(v) * 7919u + 17u};
  double seconds = v == Voice::Kick        ? 0.4
                   : v == Voice::Snare     ? 0.3
                   : v == Voice::HatClosed ? 0.08
                                           : 0.4;
  std::vector<double> out(static_cast<size_t>(seconds * rate));
  Svf svf;
  OnePole hp;
  OnePole hp2;
  double phase = 0.0;
  for (size_t n = 0; n < out.size(); ++n) {
    double t = static_cast<double>(n) / rate;
    double click = std::min(1.0, t / 0.0005);
    switch (v) {
    case Voice::Kick:
      // A falling sine for the body and a short bright click, which is
      // what small speakers let through of a kick.
      phase += (k.kickLow + k.kickSweep * std::exp(-t * 30.0)) / rate;
      out[n] = std::sin(2.0 * PI * phase) * std::exp(-t * k.kickDecay) * click +
               k.kickClick * hp.highPass(noise.next(), 2500.0, rate) * std::exp(-t * 120.0);
      break;
    case Voice::Snare: {
      phase += (k.snareBody + 40.0 * std::exp(-t * 40.0)) / rate;
      double body = std::sin(2.0 * PI * phase) * std::exp(-t * 22.0);
      double rattle = hp.highPass(svf.process(noise.next(), k.snareNoise, 0.9, rate), 800.0, rate);
      out[n] = (0.6 * body + k.snareRattle * rattle * std::exp(-t * k.snareDecay)) * click;
      break;
    }
    case Voice::HatClosed:
    case Voice::HatOpen: {
      double cut = rate * k.hatCut;
      double metal = hp.highPass(hp2.highPass(noise.next(), cut, rate), cut, rate);
      double decay = v == Voice::HatClosed ? k.closedDecay : k.openDecay;
      out[n] = metal * std::exp(-t * decay) * click;
      break;
    }
    default:
      break;
    }
  }
  double tail = std::min<double>(out.size(), rate * 0.01);
  for (size_t i = 0; i < static_cast<size_t>(tail); ++i) {
    out[out.size() - 1 - i] *= static_cast<double>(i) / tail; // no click at the end
  }
  return out;
}

// A plucked bell-like tone that dies away by itself.
std::vector<double> pluck(int32_t rate, int32_t root) {
  double f0 = midiFrequency(root);
  std::vector<double> out(static_cast<size_t>(0.7 * rate));
  const double ratio[] = {1.0, 2.0, 3.0, 4.0, 6.0};
  const double level[] = {1.0, 0.45, 0.25, 0.12, 0.05};
  for (int p = 0; p < 5; ++p) {
    if (f0 * ratio[p] > rate * 0.45) {
      continue;
    }
    for (size_t n = 0; n < out.size(); ++n) {
      double t = static_cast<double>(n) / rate;
      out[n] += level[p] * std::sin(2.0 * PI * f0 * ratio[p] * t) * std::exp(-t * (5.0 + 4.0 * p)) *
                std::min(1.0, t / 0.002);
    }
  }
  return out;
}

const char *voiceName(Voice v) {
  static const char *const NAMES[] = {"kick",     "snare",       "closed hat", "open hat",
                                      "saw bass", "square bass", "round bass", "square lead",
                                      "saw lead", "flute lead",  "pulse lead", "strings",
                                      "organ",    "soft pad",    "pluck",      "chip chord"};
  return NAMES[static_cast<int>(v)];
}
} // namespace

Instrument makeInstrument(Voice voice, int32_t sampleRate, int32_t rootNote, int32_t kit) {
  static std::map<std::tuple<int, int32_t, int32_t, int32_t>, Instrument> cache;
  auto key = std::make_tuple(static_cast<int>(voice), sampleRate, rootNote, kit);
  auto it = cache.find(key);
  if (it != cache.end()) {
    return it->second;
  }
  Instrument ins;
  ins.name = voiceName(voice);
  ins.sampleRate = sampleRate;
  ins.rootNote = rootNote;
  std::vector<double> signal;
  switch (voice) {
  case Voice::Kick:
  case Voice::Snare:
  case Voice::HatClosed:
  case Voice::HatOpen:
    signal = drum(voice, sampleRate, kit);
    ins.rootNote = 60;
    break;
  case Voice::Pluck:
    signal = pluck(sampleRate, rootNote);
    break;
  default:
    signal = looped(voice, sampleRate, rootNote, &ins.loopStart, &ins.loopLength);
    break;
  }
  // Every voice is equally loud at full volume (its sustain, or the sounding
  // part of a one-shot), so the mix is set by the volumes the composer
  // writes; a voice whose peak would pass full scale stays just below it.
  size_t from = 0;
  size_t to = signal.size();
  if (ins.loopLength > 0) {
    from = static_cast<size_t>(ins.loopStart);
  } else {
    std::tie(from, to) = soundingPart(signal);
  }
  scaleToLoudness(signal, sampleRate, INSTRUMENT_LOUDNESS, from, to);
  double peak = 0.0;
  for (double v : signal) {
    peak = std::max(peak, std::fabs(v));
  }
  if (peak > 0.98) {
    for (double &v : signal) {
      v *= 0.98 / peak;
    }
  }
  ins.pcm = toPcm16(signal);
  return cache.emplace(key, ins).first->second;
}
