// The thirteen sound effects of the game, synthesized as mono 22050 Hz sounds.
#include "sounds.h"
#include "synth.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr int32_t RATE = EFFECT_SAMPLE_RATE;

std::vector<double> silence(double seconds) {
  return std::vector<double>(static_cast<size_t>(seconds * RATE), 0.0);
}

// Adds a pitched note: attack, exponential decay, optional vibrato.
void addNote(std::vector<double> &out, double start, double length, double freq, Wave wave,
             double amp, double attack = 0.005, double decay = 4.0, double vibrato = 0.0) {
  int harmonics = std::max(1, static_cast<int>(9000.0 / freq));
  const auto &table = wavetable(wave, harmonics);
  size_t first = static_cast<size_t>(start * RATE);
  size_t count = static_cast<size_t>(length * RATE);
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < out.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    double env = std::min(1.0, t / attack) * std::exp(-decay * t);
    double tail = length - t;
    if (tail < 0.02) {
      env *= tail / 0.02; // no click at the note's end
    }
    double f = freq * (1.0 + vibrato * std::sin(2.0 * PI * 5.5 * t) * std::min(1.0, t * 3.0));
    phase += f / RATE;
    out[first + i] += amp * env * readTable(table, phase);
  }
}

// A bell: inharmonic sine partials with their own decays.
void addBell(std::vector<double> &out, double start, double freq, double amp, double decay) {
  const double ratio[] = {1.0, 2.0, 2.76, 5.4, 8.93};
  const double level[] = {1.0, 0.5, 0.35, 0.2, 0.1};
  for (int p = 0; p < 5; ++p) {
    if (freq * ratio[p] < RATE * 0.45) {
      addNote(out, start, 1.5, freq * ratio[p], Wave::Sine, amp * level[p], 0.002,
              decay * (1.0 + p * 0.7));
    }
  }
}

// Countdown tick: a short bright wooden blip.
std::vector<double> tick() {
  auto s = silence(0.14);
  addNote(s, 0.0, 0.14, 1318.5, Wave::Sine, 0.8, 0.001, 40.0);
  addNote(s, 0.0, 0.14, 2637.0, Wave::Triangle, 0.35, 0.001, 60.0);
  Noise n{11};
  for (size_t i = 0; i < 120; ++i) {
    s[i] += 0.3 * n.next() * (1.0 - i / 120.0);
  }
  return s;
}

// Capture: a rising band-passed noise whoosh with a glittering upward sweep.
std::vector<double> captureWhoosh() {
  auto s = silence(0.7);
  Noise n{22};
  Svf f;
  double phase = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    double u = t / 0.7;
    double cutoff = 300.0 * std::pow(20.0, u);
    f.process(n.next(), cutoff, 0.35, RATE);
    double env = std::sin(PI * std::pow(u, 0.6));
    phase += (400.0 + 2400.0 * u * u) / RATE;
    s[i] = 0.9 * f.band * env + 0.12 * std::sin(2.0 * PI * phase) * env * u;
  }
  return s;
}

// Level complete: a rising major arpeggio and a held chord; grandeur 0 … 2
// adds notes, an octave shimmer and length.
std::vector<double> levelDone(int grandeur) {
  double length = 1.3 + 0.6 * grandeur;
  auto s = silence(length + 0.3);
  const double notes[] = {60, 64, 67, 72, 76, 79, 84};
  int steps = 4 + grandeur;
  double step = 0.09;
  for (int i = 0; i < steps; ++i) {
    addNote(s, i * step, 0.35, midiFrequency(notes[i]), Wave::Square, 0.22, 0.004, 5.0);
    addNote(s, i * step, 0.35, midiFrequency(notes[i]) * 1.003, Wave::Saw, 0.12, 0.004, 5.0);
  }
  double chordAt = steps * step;
  double hold = length - chordAt;
  const double chord[] = {60, 64, 67, 72};
  for (double c : chord) {
    addNote(s, chordAt, hold, midiFrequency(c), Wave::Saw, 0.16, 0.02, 1.2, 0.004);
    addNote(s, chordAt, hold, midiFrequency(c) * 1.005, Wave::Saw, 0.12, 0.02, 1.2);
  }
  addNote(s, chordAt, hold, midiFrequency(48), Wave::Triangle, 0.5, 0.01, 1.0);
  if (grandeur >= 1) {
    for (int i = 0; i < 3 + grandeur * 2; ++i) {
      addBell(s, chordAt + i * 0.07, midiFrequency(84 + (i % 3) * 4 + (i / 3) * 12), 0.10, 5.0);
    }
  }
  if (grandeur >= 2) {
    Noise n{33};
    Svf f;
    for (size_t i = static_cast<size_t>(chordAt * RATE); i < s.size(); ++i) {
      double t = static_cast<double>(i) / RATE - chordAt;
      f.process(n.next(), 7000.0, 0.5, RATE);
      s[i] += 0.25 * f.band * std::exp(-2.5 * t); // cymbal swell
    }
  }
  return s;
}

// Crash: an explosion, a low boom falling in pitch under filtered noise.
std::vector<double> crash() {
  auto s = silence(1.1);
  Noise n{44};
  Svf f;
  double phase = 0.0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    double cutoff = 200.0 + 5000.0 * std::exp(-6.0 * t);
    double noise = f.process(n.next(), cutoff, 0.7, RATE);
    phase += (30.0 + 120.0 * std::exp(-5.0 * t)) / RATE;
    double boom = std::sin(2.0 * PI * phase) * std::exp(-3.5 * t);
    s[i] = (1.2 * noise * std::exp(-3.0 * t) + 0.9 * boom) * std::min(1.0, t / 0.002);
  }
  return s;
}

// Game over: a slow falling minor line with a drooping, wobbling last note.
std::vector<double> gameOver() {
  auto s = silence(2.9);
  const double notes[] = {67, 66, 65};
  for (int i = 0; i < 3; ++i) {
    addNote(s, i * 0.45, 0.5, midiFrequency(notes[i]), Wave::Square, 0.25, 0.01, 1.5);
    addNote(s, i * 0.45, 0.5, midiFrequency(notes[i] - 12), Wave::Triangle, 0.35, 0.01, 1.5);
  }
  double start = 1.35;
  double phase = 0.0;
  double phaseLow = 0.0;
  const auto &sq = wavetable(Wave::Square, 30);
  for (size_t i = static_cast<size_t>(start * RATE); i < s.size(); ++i) {
    double t = static_cast<double>(i) / RATE - start;
    double bend = 64.0 - 1.0 * std::min(1.0, t / 1.2);
    double f = midiFrequency(bend) * (1.0 + 0.012 * std::sin(2.0 * PI * 6.0 * t));
    phase += f / RATE;
    phaseLow += f / 2.0 / RATE;
    double env = std::min(1.0, t / 0.01) * std::max(0.0, 1.0 - t / 1.5);
    s[i] += env * (0.25 * readTable(sq, phase) + 0.35 * std::sin(2.0 * PI * phaseLow));
  }
  return s;
}

// Track hum: an electric buzz whose every component fits a whole number of
// cycles into the loop, so the end runs straight back into the start. Its
// lowest partial is 220 Hz, above the tunes' bass lines, so it never muddies
// them for as long as the player draws.
std::vector<double> trackHum() {
  size_t length = RATE / 2; // 0.5 s: 110 cycles of 220 Hz, 2 of the 4 Hz wobble
  std::vector<double> s(length);
  const double partials[][3] = {{220.0, 0.5, 0.0},  {440.0, 0.35, 0.5},  {660.0, 0.25, 0.0},
                                {880.0, 0.18, 1.0}, {1320.0, 0.12, 0.3}, {1760.0, 0.08, 0.7},
                                {2640.0, 0.05, 0.2}};
  for (size_t i = 0; i < length; ++i) {
    double t = static_cast<double>(i) / RATE;
    double wobble = 1.0 + 0.25 * std::sin(2.0 * PI * 4.0 * t);
    double v = 0.0;
    for (const auto &p : partials) {
      v += p[1] * std::sin(2.0 * PI * p[0] * t + p[2]);
    }
    s[i] = v * wobble;
  }
  return s;
}

// Pickup: two quick rising bell notes.
std::vector<double> pickup() {
  auto s = silence(0.6);
  addBell(s, 0.0, midiFrequency(88), 0.5, 6.0);
  addBell(s, 0.07, midiFrequency(95), 0.55, 5.0);
  addNote(s, 0.0, 0.3, midiFrequency(76), Wave::Triangle, 0.2, 0.002, 10.0);
  return s;
}

// Shield hit: a metallic clang over a short electric zap.
std::vector<double> shieldHit() {
  auto s = silence(0.5);
  const double partials[] = {523.0, 1187.0, 1731.0, 2456.0, 3310.0};
  for (int p = 0; p < 5; ++p) {
    addNote(s, 0.0, 0.5, partials[p], Wave::Sine, 0.3 / (1 + p * 0.4), 0.001, 7.0 + p * 3.0);
  }
  double phase = 0.0;
  const auto &saw = wavetable(Wave::Saw, 20);
  for (size_t i = 0; i < static_cast<size_t>(0.12 * RATE); ++i) {
    double t = static_cast<double>(i) / RATE;
    phase += (900.0 - 5000.0 * t) / RATE;
    s[i] += 0.25 * readTable(saw, phase) * (1.0 - t / 0.12);
  }
  return s;
}

// New entry: a bright brass fanfare, da-da-da-daaa up to the octave.
std::vector<double> newEntry() {
  auto s = silence(2.2);
  struct Step {
    double at, len, note;
  };
  const Step steps[] = {{0.0, 0.14, 67}, {0.15, 0.14, 67}, {0.3, 0.14, 67}, {0.45, 0.5, 72},
                        {0.95, 0.2, 67}, {1.15, 0.2, 72},  {1.35, 0.85, 76}};
  for (const auto &st : steps) {
    addNote(s, st.at, st.len, midiFrequency(st.note), Wave::Saw, 0.3, 0.03, 0.8, 0.003);
    addNote(s, st.at, st.len, midiFrequency(st.note) * 1.004, Wave::Saw, 0.2, 0.03, 0.8);
    addNote(s, st.at, st.len, midiFrequency(st.note - 12), Wave::Square, 0.15, 0.03, 0.8);
  }
  const double chord[] = {60, 64, 67};
  for (double c : chord) {
    addNote(s, 1.35, 0.85, midiFrequency(c), Wave::Saw, 0.1, 0.05, 1.0);
  }
  addNote(s, 1.35, 0.85, midiFrequency(48), Wave::Triangle, 0.4, 0.01, 1.0);
  return s;
}

// Screenshot: a camera shutter, two short clicks of filtered noise.
std::vector<double> shutter() {
  auto s = silence(0.22);
  Noise n{55};
  for (double at : {0.0, 0.09}) {
    Svf f;
    size_t first = static_cast<size_t>(at * RATE);
    for (size_t i = 0; i < static_cast<size_t>(0.05 * RATE); ++i) {
      double t = static_cast<double>(i) / RATE;
      f.process(n.next(), 3500.0, 0.3, RATE);
      s[first + i] += f.band * std::exp(-70.0 * t) +
                      0.3 * std::sin(2.0 * PI * 1800.0 * t) * std::exp(-90.0 * t);
    }
  }
  return s;
}

// Screenshot failed: two low, rough buzzes.
std::vector<double> failBuzz() {
  auto s = silence(0.5);
  for (double at : {0.0, 0.25}) {
    addNote(s, at, 0.2, 147.0, Wave::Square, 0.5, 0.003, 1.0);
    addNote(s, at, 0.2, 155.6, Wave::Saw, 0.3, 0.003, 1.0);
  }
  return s;
}

// Loudness targets at the default volumes, in LU against the in-game music:
// routine sounds sit just above the music, the shield hit stands out as the
// warning it is, and losing a life, the game ending and finishing a level
// are clearly the loudest. Measured over each sound's sounding part (from its
// first to its last sample within 30 dB of its peak); the looping track hum
// stays under the music.
const double EFFECT_TARGETS[EFFECT_FILE_COUNT] = {
    +1.0, // 0 tick
    +1.0, // 1 capture: the most frequent sound
    +5.0, // 2 level done, more than 90 %
    +5.5, // 3 crash
    +5.0, // 4 game over (the music has stopped)
    -3.0, // 5 track hum, for as long as the player draws
    +1.5, // 6 pickup
    +3.0, // 7 shield hit
    +4.5, // 8 new entry
    +4.5, // 9 level done, 80 … 90 %
    +4.0, // 10 level done, up to 80 %
    +0.0, // 11 screenshot
    +0.0, // 12 screenshot failed: no louder than a capture
};
} // namespace

double effectTarget(int effect) {
  return effect >= 0 && effect < EFFECT_FILE_COUNT ? EFFECT_TARGETS[effect] : 0.0;
}

std::vector<int16_t> effectSound(int effect) {
  std::vector<double> s;
  switch (effect) {
  case 0:
    s = tick();
    break;
  case 1:
    s = captureWhoosh();
    break;
  case 2:
    s = levelDone(2);
    break;
  case 3:
    s = crash();
    break;
  case 4:
    s = gameOver();
    break;
  case 5:
    s = trackHum();
    break;
  case 6:
    s = pickup();
    break;
  case 7:
    s = shieldHit();
    break;
  case 8:
    s = newEntry();
    break;
  case 9:
    s = levelDone(1);
    break;
  case 10:
    s = levelDone(0);
    break;
  case 11:
    s = shutter();
    break;
  case 12:
    s = failBuzz();
    break;
  default:
    return {};
  }
  if (effect != 5) {
    // Short fades at both ends, so no one-shot starts or stops with a click.
    size_t in = std::min<size_t>(s.size() / 4, RATE / 500);
    size_t out = std::min<size_t>(s.size() / 4, RATE / 100);
    for (size_t i = 0; i < in; ++i) {
      s[i] *= static_cast<double>(i) / static_cast<double>(in);
    }
    for (size_t i = 0; i < out; ++i) {
      s[s.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(out);
    }
  }
  // The file's own loudness that gives the target once the game plays it:
  // the music's level at its default volume, the target, less the effect
  // channel's default gain, less 3 LU because the game plays the mono file on
  // both stereo channels.
  double music = TUNE_LOUDNESS + 20.0 * std::log10(DEFAULT_MUSIC_GAIN);
  double file = music + EFFECT_TARGETS[effect] - 20.0 * std::log10(DEFAULT_EFFECT_GAIN) - 3.0103;
  auto [first, last] = soundingPart(s);
  scaleToLoudness(s, RATE, file, effect == 5 ? 0 : first, effect == 5 ? s.size() : last);
  return toPcm16(s);
}
