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

// Noise through a band-pass at `centre`, decaying at `decay` per second,
// added from `start` for `length` seconds: claps, clicks and cymbals, which
// have no pitch and so sit over a tune in any key.
void addNoise(std::vector<double> &out, double start, double length, double centre, double q,
              double amp, double decay, uint32_t seed, double attack = 0.001) {
  Noise n{seed};
  Svf f;
  size_t first = static_cast<size_t>(start * RATE);
  for (size_t i = 0; i < static_cast<size_t>(length * RATE) && first + i < out.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    f.process(n.next(), centre, q, RATE);
    out[first + i] += amp * f.band * std::min(1.0, t / attack) * std::exp(-decay * t);
  }
}

// A tone gliding from one frequency to another (exponentially): it passes
// through every pitch, so it belongs to no key.
void addGlide(std::vector<double> &out, double start, double length, double from, double to,
              Wave wave, double amp, double decay = 0.0) {
  const auto &table = wavetable(wave, std::max(1, static_cast<int>(9000.0 / std::max(from, to))));
  size_t first = static_cast<size_t>(start * RATE);
  size_t count = static_cast<size_t>(length * RATE);
  double phase = 0.0;
  for (size_t i = 0; i < count && first + i < out.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    double f = from * std::pow(to / from, t / length);
    phase += f / RATE;
    double env = std::min(1.0, t / 0.004) * std::min(1.0, (length - t) / 0.015) * std::exp(-decay * t);
    out[first + i] += amp * env * readTable(table, phase);
  }
}

// Countdown tick: a short dry click, high and clear over any music.
std::vector<double> tick() {
  auto s = silence(0.12);
  addNoise(s, 0.0, 0.12, 3200.0, 0.25, 1.0, 55.0, 11);
  addNoise(s, 0.0, 0.05, 7000.0, 0.5, 0.5, 120.0, 12);
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

// Level complete, by the result (grandeur 0 … 2): pitchless fanfares of
// drums, cymbals and rising sweeps, so they sit over any tune's key. Each
// opens its own way: low claps for the lowest result, a high rising sweep
// over a snare roll for the middle one, a deep boom and a roll for the best; the
// better the result, the longer and grander the cymbal-lit finish.
std::vector<double> levelDone(int grandeur) {
  double length = 1.3 + 0.6 * grandeur;
  auto s = silence(length + 0.2);
  double finish = 0.0;
  if (grandeur == 0) {
    for (double at : {0.0, 0.13, 0.26}) {
      addNoise(s, at, 0.15, 950.0, 0.8, 1.0, 35.0, 61 + static_cast<uint32_t>(at * 100));
    }
    finish = 0.4;
  } else if (grandeur == 1) {
    addGlide(s, 0.0, 0.45, 1500.0, 6000.0, Wave::Triangle, 0.3);
    for (int i = 0; i < 9; ++i) {
      addNoise(s, i * 0.05, 0.08, 4000.0, 0.9, 0.25 + 0.06 * i, 30.0, 70 + static_cast<uint32_t>(i));
    }
    finish = 0.45;
  } else {
    double phase = 0.0;
    for (size_t i = 0; i < static_cast<size_t>(0.5 * RATE); ++i) {
      double t = static_cast<double>(i) / RATE;
      phase += (45.0 + 110.0 * std::exp(-t * 12.0)) / RATE; // a falling boom
      s[i] += 0.9 * std::sin(2.0 * PI * phase) * std::exp(-t * 6.0) * std::min(1.0, t / 0.002);
    }
    for (int i = 0; i < 12; ++i) {
      addNoise(s, 0.1 + i * 0.035, 0.06, 1800.0, 0.9, 0.15 + 0.05 * i, 35.0, 80 + static_cast<uint32_t>(i));
    }
    finish = 0.55;
  }
  // The finish: a crash cymbal, a kick under it and glittering rising sweeps.
  double ring = length - finish;
  addNoise(s, finish, ring + 0.2, 6500.0, 0.7, 0.8, 2.8 - 0.5 * grandeur, 90 + static_cast<uint32_t>(grandeur), 0.004);
  double phase = 0.0;
  for (size_t i = 0; i < static_cast<size_t>(0.3 * RATE); ++i) {
    double t = static_cast<double>(i) / RATE;
    phase += (55.0 + 100.0 * std::exp(-t * 30.0)) / RATE;
    s[static_cast<size_t>(finish * RATE) + i] += 0.7 * std::sin(2.0 * PI * phase) * std::exp(-t * 9.0);
  }
  for (int i = 0; i < 2 + 2 * grandeur; ++i) {
    double from = 900.0 * (1.0 + 0.37 * i);
    addGlide(s, finish + 0.12 * i, 0.35, from, from * 3.0, Wave::Sine, 0.12, 4.0);
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

// Track hum: an electric crackle and hiss with a slow wobble, pitchless so
// that it sits under any tune for as long as the player draws. Its energy
// lies above the bass lines. The loop's last 50 ms fade into its first, so
// the end runs straight back into the start.
std::vector<double> trackHum() {
  size_t length = RATE / 2; // 0.5 s: 2 cycles of the 4 Hz wobble
  size_t blend = RATE / 20;
  std::vector<double> raw(length + blend, 0.0);
  Noise n{66};
  Svf body;
  Svf hiss;
  for (size_t i = 0; i < raw.size(); ++i) {
    double t = static_cast<double>(i) / RATE;
    double wobble = 1.0 + 0.3 * std::sin(2.0 * PI * 4.0 * t);
    body.process(n.next(), 900.0, 0.35, RATE);
    hiss.process(n.next(), 4200.0, 0.6, RATE);
    double crackle = (n.next() > 0.985) ? n.next() * 2.5 : 0.0;
    raw[i] = wobble * (0.8 * body.band + 0.35 * hiss.band) + crackle;
  }
  std::vector<double> s(raw.begin(), raw.begin() + static_cast<std::ptrdiff_t>(length));
  for (size_t i = 0; i < blend; ++i) {
    double w = static_cast<double>(i) / static_cast<double>(blend);
    s[i] = w * raw[i] + (1.0 - w) * raw[length + i];
  }
  return s;
}

// Pickup: two quick rising chirps and a sparkle.
std::vector<double> pickup() {
  auto s = silence(0.5);
  addGlide(s, 0.0, 0.09, 700.0, 2100.0, Wave::Triangle, 0.6);
  addGlide(s, 0.08, 0.14, 1100.0, 3600.0, Wave::Triangle, 0.6, 8.0);
  addNoise(s, 0.06, 0.4, 8000.0, 0.5, 0.35, 9.0, 67);
  return s;
}

// Shield hit: a hard thump and a sizzling metallic crack, below and above the
// melody's band, so the warning cuts through without masking the lead.
std::vector<double> shieldHit() {
  auto s = silence(0.5);
  double phase = 0.0;
  for (size_t i = 0; i < static_cast<size_t>(0.25 * RATE); ++i) {
    double t = static_cast<double>(i) / RATE;
    phase += (60.0 + 140.0 * std::exp(-t * 25.0)) / RATE;
    s[i] += 0.8 * std::sin(2.0 * PI * phase) * std::exp(-t * 14.0) * std::min(1.0, t / 0.001);
  }
  addNoise(s, 0.0, 0.5, 5200.0, 0.35, 1.3, 9.0, 77);
  addNoise(s, 0.0, 0.2, 8500.0, 0.5, 0.8, 20.0, 78);
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

// Screenshot failed: two low, rough buzzes sagging in pitch.
std::vector<double> failBuzz() {
  auto s = silence(0.5);
  for (double at : {0.0, 0.25}) {
    addGlide(s, at, 0.2, 230.0, 90.0, Wave::Square, 0.5);
    addGlide(s, at, 0.2, 245.0, 96.0, Wave::Saw, 0.3);
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
