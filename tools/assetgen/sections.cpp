// Section composer: diatonic chords from a progression, drums from the tune's
// groove shaped by the section's energy, a bass line on the chord roots, and a
// melody whose rhythm is the tune's motif and whose strong beats land on
// chord tones.
#include "sections.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {
using K = SectionKind;
const int32_t MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
const int32_t MINOR[7] = {0, 2, 3, 5, 7, 8, 10};

// Progressions as scale degrees (0 = tonic), one chord a bar.
const int32_t PROGRESSIONS[][4] = {
    {0, 4, 5, 3}, // 0  I V vi IV
    {0, 5, 3, 4}, // 1  I vi IV V
    {3, 4, 0, 5}, // 2  IV V I vi
    {0, 3, 5, 4}, // 3  I IV vi V
    {5, 3, 1, 4}, // 4  vi IV ii V
    {0, 5, 2, 6}, // 5  i VI III VII
    {0, 3, 6, 2}, // 6  i iv VII III
    {0, 5, 3, 4}, // 7  i VI iv V
    {0, 6, 5, 6}, // 8  i VII VI VII
    {3, 5, 6, 4}, // 9  iv VI VII V
    {0, 2, 3, 4}, // 10 I iii IV V
    {5, 6, 0, 0}, // 11 VI VII i i
};
const int32_t BUILD_PROGRESSION[4] = {3, 4, 3, 4}; // IV V IV V: leans into the chorus

bool isChorus(K k) { return k == K::Chorus || k == K::Chorus2 || k == K::Final; }

const int32_t *scaleOf(const TuneRecipe &recipe) { return recipe.minor ? MINOR : MAJOR; }

// Pitch of a scale index (7 per octave) above the tonic of octave 0.
int32_t pitchOf(const TuneRecipe &recipe, int32_t index) {
  int32_t octave = index >= 0 ? index / 7 : -((-index + 6) / 7);
  int32_t degree = index - octave * 7;
  int32_t key = recipe.key > 6 ? recipe.key - 12 : recipe.key; // tonic within a fifth of C
  return key + 12 * octave + scaleOf(recipe)[degree];
}

// Voices a chord into one octave from G3, so chord changes move by small steps.
Chord voiced(int32_t root, int32_t degree, int32_t third, int32_t fifth) {
  Chord c;
  c.root = ((root % 12) + 12) % 12;
  c.degree = ((degree % 7) + 7) % 7;
  c.intervals = {third, fifth};
  int32_t pcs[3] = {c.root, (c.root + third) % 12, (c.root + fifth) % 12};
  for (int i = 0; i < 3; ++i) {
    c.tones[static_cast<size_t>(i)] = 55 + ((pcs[i] - 55) % 12 + 12) % 12;
  }
  std::sort(c.tones.begin(), c.tones.end());
  return c;
}

// The diatonic triad on a degree. A diminished triad holds a tritone, which
// sounds as a clash under a melody; the chord of the same function takes
// its place (V for vii, iv for ii in minor).
Chord chordOf(const TuneRecipe &recipe, int32_t degree) {
  int32_t root = pitchOf(recipe, degree);
  int32_t third = pitchOf(recipe, degree + 2) - root;
  int32_t fifth = pitchOf(recipe, degree + 4) - root;
  if (fifth == 6) {
    return chordOf(recipe, recipe.minor ? 3 : 4);
  }
  if (recipe.minor && degree == 4) {
    third = 4; // the dominant of a minor key is major, so it leads home
  }
  return voiced(root, degree, third, fifth);
}

// The major chord a fifth above a chord: its dominant, which leads into it.
Chord dominantOf(const Chord &target) {
  return voiced(target.root + 7, target.degree + 4, 4, 7);
}

bool isChordTone(int32_t index, int32_t degree) {
  int32_t d = ((index - degree) % 7 + 7) % 7;
  return d == 0 || d == 2 || d == 4;
}

const int32_t *progressionOf(int32_t n) {
  int32_t count = static_cast<int32_t>(sizeof PROGRESSIONS / sizeof PROGRESSIONS[0]);
  return PROGRESSIONS[((n % count) + count) % count];
}

} // namespace

bool Chord::has(int32_t pitch) const {
  int32_t pc = ((pitch % 12) + 12) % 12;
  return pc == root || pc == (root + intervals[0]) % 12 || pc == (root + intervals[1]) % 12;
}

namespace {
const int32_t *degreesOf(const TuneRecipe &recipe, const TuneMaterial &m, K kind) {
  switch (kind) {
  case K::Build:
    return BUILD_PROGRESSION;
  case K::Bridge:
    return progressionOf(recipe.bridge);
  case K::Theme:
    return progressionOf(m.themeProgression);
  case K::Chorus:
  case K::Chorus2:
  case K::Final:
  case K::Breakdown:
    return progressionOf(recipe.chorus);
  default:
    return progressionOf(recipe.verse);
  }
}

// The level of a section against a chorus, so a pass builds up and lets go.
double levelOf(K k) {
  switch (k) {
  case K::Intro:
    return 0.62;
  case K::Breakdown:
    return 0.55;
  case K::Bridge:
    return 0.75;
  case K::Verse:
    return 0.8;
  case K::Verse2:
  case K::Theme:
    return 0.85;
  case K::Build:
    return 0.92;
  default:
    return 1.0;
  }
}

int32_t scaled(int32_t volume, double level) {
  return std::clamp(static_cast<int32_t>(std::lround(volume * level)), 1, 64);
}

void applyLevel(SectionScore &s, double level) {
  for (DrumHit &d : s.drums) {
    d.kick = static_cast<uint8_t>(d.kick ? scaled(d.kick, level) : 0);
    d.snare = static_cast<uint8_t>(d.snare ? scaled(d.snare, level) : 0);
    d.hat = static_cast<uint8_t>(d.hat ? scaled(d.hat, level) : 0);
  }
  for (auto *notes : {&s.bass, &s.lead, &s.answer, &s.arps}) {
    for (ScoreNote &n : *notes) {
      n.volume = scaled(n.volume, level);
    }
  }
  s.padVolume = scaled(s.padVolume, level);
}

// A snare roll over the last bar, rising in loudness into the next section.
void addRoll(SectionScore &s, bool sixteenths) {
  for (int32_t step = 0; step < 16; ++step) {
    if (sixteenths || step % 2 == 0 || step >= 12) {
      DrumHit &d = s.drums[static_cast<size_t>(48 + step)];
      d.snare = static_cast<uint8_t>(28 + step * 2);
      d.hat = 0;
    }
  }
}

void addDrums(SectionScore &s, const TuneMaterial &m, K kind, int32_t round) {
  const Groove &g = m.groove;
  for (int32_t row = 0; row < 64; ++row) {
    int32_t bar = row / 16;
    int32_t step = row % 16;
    DrumHit &d = s.drums[static_cast<size_t>(row)];
    bool kick = g.kick[static_cast<size_t>(step)] == 'x';
    bool snare = g.snare[static_cast<size_t>(step)] == 'x';
    char hat = g.hat[static_cast<size_t>(step)];
    switch (kind) {
    case K::Intro: // hats alone, then the kick joins
      kick = kick && bar >= 2;
      snare = false;
      break;
    case K::Build: // four to the floor under running sixteenths
      kick = step % 4 == 0;
      hat = 'c';
      break;
    case K::Bridge: // half time
      kick = step == 0 || step == 10;
      snare = step == 8;
      hat = step % 2 == 0 ? 'c' : '.';
      break;
    case K::Breakdown: // the drums drop out but for a soft pulse
      kick = false;
      snare = false;
      hat = step % 4 == 2 ? 'c' : '.';
      break;
    case K::Verse:
    case K::Theme:
      hat = hat == 'o' ? 'c' : hat;
      break;
    default:
      break;
    }
    if (kick) {
      d.kick = static_cast<uint8_t>(step == 0 ? 64 : 56);
    }
    if (snare) {
      d.snare = static_cast<uint8_t>(step % 4 == 0 ? 60 : 40);
    }
    if (hat != '.') {
      d.hat = static_cast<uint8_t>(step % 4 == 0 ? 60 : (step % 2 == 0 ? 50 : 40));
      d.openHat = hat == 'o';
    }
  }
  if (kind == K::Build || kind == K::Breakdown) {
    addRoll(s, kind == K::Build);
  } else if (kind == K::Intro || kind == K::Verse2 || kind == K::Chorus2 || kind == K::Final ||
             kind == K::Bridge) {
    for (int32_t step = 0; step < 16; ++step) {
      if (step >= 8 && (step % 2 == 0 || step >= 13)) {
        s.drums[static_cast<size_t>(48 + step)].snare = static_cast<uint8_t>(30 + step * 2);
        s.drums[static_cast<size_t>(48 + step)].hat = 0;
      }
    }
  }
  // Repeats answer the snare with an open hat before their third bar.
  if (round % 2 == 1 && kind != K::Breakdown) {
    s.drums[30].hat = 48;
    s.drums[30].openHat = true;
  }
  // An open hat crashes in at the start of a chorus.
  if (isChorus(kind)) {
    s.drums[0].hat = 64;
    s.drums[0].openHat = true;
  }
}

// The bass on the chord roots, a note a step of its bar rhythm; a note held
// over a change of chord is struck again on the new root. Repeats push an
// octave or a fifth into the bar.
void addBass(SectionScore &s, const TuneMaterial &m, K kind, int32_t round) {
  std::string bar;
  switch (kind) {
  case K::Bridge:
    bar = "R-------F-------";
    break;
  case K::Breakdown:
    bar = "R---------------";
    break;
  case K::Build:
    bar = "R-R-R-R-R-R-R-O-";
    break;
  default:
    bar = isChorus(kind) ? m.chorusBass : m.verseBass;
    break;
  }
  // Each bit of the round adds its own note to the bar: an octave late in
  // the bar, a fifth in the middle, a root after the third beat.
  const char added[3] = {'O', 'F', 'R'};
  const int32_t places[3][3] = {{14, 12, 15}, {6, 4, 7}, {10, 11, 9}};
  for (int32_t bit = 0; bit < 3; ++bit) {
    if ((round >> bit & 1) == 0) {
      continue;
    }
    for (int32_t at : places[bit]) {
      if (bar[static_cast<size_t>(at)] == '-') {
        bar[static_cast<size_t>(at)] = added[bit];
        break;
      }
    }
  }
  for (int32_t b = kind == K::Intro ? 2 : 0; b < 4; ++b) {
    for (int32_t step = 0; step < 16; ++step) {
      char ch = bar[static_cast<size_t>(step)];
      bool change = step == CHORD_ROWS && s.chordAt(b * 16 + step).root != s.chordAt(b * 16).root;
      if (ch == '.' || (ch == '-' && !change)) {
        continue;
      }
      if (ch == '-') {
        // Held over the change: only if the previous note still sounds.
        int32_t from = step - 1;
        while (from >= 0 && bar[static_cast<size_t>(from)] == '-') {
          --from;
        }
        if (from < 0 || bar[static_cast<size_t>(from)] == '.') {
          continue;
        }
        ch = 'R';
      }
      const Chord &c = s.chordAt(b * 16 + step);
      int32_t root = 36 + c.root; // C2 … A2: fundamentals of 58 Hz and up
      if (root > 45) {
        root -= 12;
      }
      int32_t pitch = ch == 'F' ? root + c.intervals[1] : ch == 'O' ? root + 12 : root;
      int32_t length = 1;
      while (step + length < 16 && bar[static_cast<size_t>(step + length)] == '-' &&
             !(step + length == CHORD_ROWS &&
               s.chordAt(b * 16 + CHORD_ROWS).root != s.chordAt(b * 16).root)) {
        ++length;
      }
      int32_t volume = step == 0 ? 56 : (step % 4 == 0 ? 50 : 44);
      s.bass.push_back({b * 16 + step, length, pitch, volume});
    }
  }
}

// One melody note after another: strong beats take the chord tone nearest the
// line's direction, weak ones move by step towards a target register.
int32_t nextIndex(Rng &rng, int32_t previous, int32_t degree, int32_t step, int32_t length,
                  int32_t target, int32_t low, int32_t high) {
  bool strong = step % 8 == 0 || length >= 6;
  int32_t dir = previous < target ? 1 : (previous > target ? -1 : (rng.below(2) ? 1 : -1));
  if (rng.below(4) == 0) {
    dir = -dir;
  }
  int32_t candidate = previous;
  if (strong) {
    for (int32_t d = 1; d <= 4; ++d) {
      if (isChordTone(previous + dir * d, degree)) {
        candidate = previous + dir * d;
        break;
      }
      if (d > 1 && isChordTone(previous - dir * d, degree)) {
        candidate = previous - dir * d;
        break;
      }
    }
  } else {
    int32_t r = rng.below(10);
    candidate = previous + dir * (r < 6 ? 1 : (r < 8 ? 2 : 0));
  }
  while (candidate < low) {
    candidate += 2;
  }
  while (candidate > high) {
    candidate -= 2;
  }
  return candidate;
}

struct Onset {
  int32_t row, length;
};

std::vector<Onset> onsetsOf(const std::string &rhythm) {
  std::vector<Onset> out;
  for (int32_t i = 0; i < static_cast<int32_t>(rhythm.size()); ++i) {
    if (rhythm[static_cast<size_t>(i)] != 'x') {
      continue;
    }
    int32_t len = 1;
    while (i + len < static_cast<int32_t>(rhythm.size()) &&
           rhythm[static_cast<size_t>(i + len)] == '-') {
      ++len;
    }
    out.push_back({i, len});
  }
  return out;
}

// A written melody: "E5:4 G5:2 -:2 …" (note name with octave, length in rows).
std::vector<ScoreNote> parseTheme(const char *text, int32_t transpose) {
  std::vector<ScoreNote> out;
  int32_t row = 0;
  const char *p = text;
  while (*p != '\0') {
    while (*p == ' ') {
      ++p;
    }
    if (*p == '\0') {
      break;
    }
    int32_t pitch = -1;
    if (*p != '-') {
      static const int32_t LETTER[7] = {9, 11, 0, 2, 4, 5, 7}; // A … G
      pitch = LETTER[*p - 'A'];
      ++p;
      if (*p == '#') {
        ++pitch;
        ++p;
      } else if (*p == 'b') {
        --pitch;
        ++p;
      }
      pitch += 12 * (*p - '0' + 1);
    }
    ++p;
    if (*p == ':') {
      ++p;
    }
    char *end = nullptr;
    int32_t len = static_cast<int32_t>(std::strtol(p, &end, 10));
    p = end;
    if (pitch >= 0) {
      out.push_back({row, len, pitch + transpose, row % 16 == 0 ? 56 : 50});
    }
    row += len;
  }
  return out;
}

bool inKey(const TuneRecipe &recipe, int32_t pitch) {
  int32_t d = ((pitch - recipe.key) % 12 + 12) % 12;
  const int32_t *scale = scaleOf(recipe);
  return std::find(scale, scale + 7, d) != scale + 7;
}

// The melody takes the chord's own tones where they leave the key: the raised
// leading note over a major V in minor, the third of a secondary dominant.
int32_t followChord(int32_t pitch, const Chord &chord, const TuneRecipe &recipe) {
  for (int32_t step : {1, -1}) {
    if (chord.has(pitch + step) && !inKey(recipe, pitch + step) && !chord.has(pitch)) {
      return pitch + step;
    }
  }
  return pitch;
}

// The chord tone nearest a pitch, looking first in the direction given.
int32_t nearestChordTone(int32_t pitch, const Chord &chord, int32_t towards) {
  for (int32_t d = 0; d < 7; ++d) {
    for (int32_t dir : {towards, -towards}) {
      if (chord.has(pitch + dir * d)) {
        return pitch + dir * d;
      }
    }
  }
  return pitch;
}

// A note held past a sixteenth sits on its chord: held over a change of chord
// it moves to the new chord's nearest tone; a longer one off its chord takes
// the nearest chord tone. Sixteenths pass freely between chord tones.
void fitToChords(std::vector<ScoreNote> &notes, const SectionScore &s) {
  // A note struck again at once is heard as one held note.
  std::vector<bool> held(notes.size());
  for (size_t i = 0; i < notes.size(); ++i) {
    const ScoreNote &n = notes[i];
    held[i] = n.length >= 2 ||
              (i + 1 < notes.size() && notes[i + 1].pitch == n.pitch &&
               notes[i + 1].row == n.row + n.length) ||
              (i > 0 && notes[i - 1].pitch == n.pitch &&
               notes[i - 1].row + notes[i - 1].length == n.row);
  }
  for (size_t i = 0; i < notes.size(); ++i) {
    ScoreNote &n = notes[i];
    int32_t towards = i + 1 < notes.size() && notes[i + 1].pitch < n.pitch ? -1 : 1;
    if (held[i] && !s.chordAt(n.row).has(n.pitch)) {
      n.pitch = nearestChordTone(n.pitch, s.chordAt(n.row), towards);
    }
  }
  for (size_t i = 0; i < notes.size(); ++i) {
    ScoreNote &n = notes[i];
    int32_t end = std::min(n.row + n.length, 64);
    for (int32_t b = (n.row / CHORD_ROWS + 1) * CHORD_ROWS; b < end; b += CHORD_ROWS) {
      if (s.chordAt(b).has(n.pitch)) {
        continue;
      }
      int32_t towards = i + 1 < notes.size() && notes[i + 1].pitch < n.pitch ? -1 : 1;
      ScoreNote rest{b, end - b, nearestChordTone(n.pitch, s.chordAt(b), towards),
                     std::max(1, n.volume - 6)};
      n.length = b - n.row;
      notes.insert(notes.begin() + static_cast<std::ptrdiff_t>(i) + 1, rest);
      break;
    }
  }
}

// A repeated melody is varied so that no phrase comes back unchanged: by the
// bits of its round, the second half an octave away (where the range allows),
// long notes split into two with a step to the next chord tone, and a grace
// note a step above the downbeats.
void varyMelody(std::vector<ScoreNote> &notes, int32_t round, int32_t lowest, int32_t highest,
                const SectionScore &s, const TuneRecipe &recipe) {
  const std::vector<ScoreNote> before = notes;
  if (round & 1) {
    int32_t top = 0;
    int32_t bottom = 127;
    for (const ScoreNote &n : notes) {
      if (n.row >= 32) {
        top = std::max(top, n.pitch);
        bottom = std::min(bottom, n.pitch);
      }
    }
    int32_t move = top + 12 <= highest ? 12 : (bottom - 12 >= lowest ? -12 : 0);
    for (ScoreNote &n : notes) {
      n.pitch += n.row >= 32 ? move : 0;
    }
    if (move == 0 && !notes.empty()) {
      // No room for the octave: the phrase ends on another tone of its chord.
      ScoreNote &last = notes.back();
      int32_t other = nearestChordTone(last.pitch - 1, s.chordAt(last.row), -1);
      last.pitch = other >= lowest ? other : nearestChordTone(last.pitch + 1, s.chordAt(last.row), 1);
    }
  }
  std::vector<ScoreNote> out;
  for (const ScoreNote &n : notes) {
    if ((round & 4) && n.row % 16 == 0 && n.length >= 4) {
      int32_t above = inKey(recipe, n.pitch + 1) ? n.pitch + 1 : n.pitch + 2;
      out.push_back({n.row, 1, above, n.volume - 4});
      out.push_back({n.row + 1, n.length - 1, n.pitch, n.volume});
    } else if ((round & 2) && n.length >= 4 && n.length % 2 == 0) {
      int32_t half = n.length / 2;
      int32_t next = n.pitch + 1;
      while (!s.chordAt(n.row + half).has(next)) {
        ++next;
      }
      out.push_back({n.row, half, n.pitch, n.volume});
      if (next > highest) {
        next = nearestChordTone(n.pitch - 1, s.chordAt(n.row + half), -1);
      }
      out.push_back({n.row + half, half, next, n.volume - 4});
    } else {
      out.push_back(n);
    }
  }
  bool same = out.size() == before.size() &&
              std::equal(out.begin(), out.end(), before.begin(), [](const auto &a, const auto &b) {
                return a.row == b.row && a.pitch == b.pitch && a.length == b.length;
              });
  if (same && round > 0 && !out.empty() && out.back().length >= 2) {
    // Nothing to vary by the rules: the last note steps in from a grace note.
    ScoreNote &last = out.back();
    out.push_back({last.row + 1, last.length - 1, last.pitch, last.volume});
    out[out.size() - 2].length = 1;
    out[out.size() - 2].pitch += inKey(recipe, last.pitch + 1) ? 1 : 2;
  }
  notes = out;
}

// The section's melody: its two-bar motif, the motif's first bar again moved
// onto the third chord, and a cadence bar.
// A written theme is in the tune's own key, so the lift moves it by hand.
void addMelody(SectionScore &s, const TuneRecipe &recipe, const TuneMaterial &m, K kind,
               int32_t themeLift) {
  const char *theme = isChorus(kind)
                          ? recipe.chorusTheme
                          : (kind == K::Verse || kind == K::Verse2 ? recipe.verseTheme : nullptr);
  if (theme != nullptr && theme[0] != '\0') {
    s.lead = parseTheme(theme, themeLift);
    for (ScoreNote &n : s.lead) {
      n.pitch = followChord(n.pitch, s.chordAt(n.row), recipe);
    }
    return;
  }
  std::string motif = m.verseRhythm;
  std::string ending = m.endings[0];
  int32_t centre = 42; // scale index 42: the tonic of octave 6 (C5 for C)
  switch (kind) {
  case K::Verse2:
    ending = m.endings[1];
    break;
  case K::Chorus:
    motif = m.chorusRhythm;
    centre = 44;
    ending = m.endings[1];
    break;
  case K::Chorus2:
  case K::Breakdown:
    motif = m.chorusRhythm;
    centre = 44;
    ending = m.endings[2];
    break;
  case K::Final:
    motif = m.chorusRhythm;
    centre = 44;
    ending = m.endings[0];
    break;
  case K::Bridge:
  case K::Build:
    motif = m.bridgeRhythm;
    centre = kind == K::Build ? 41 : 40;
    ending = "x-------x-------";
    break;
  case K::Theme:
    motif = m.themeRhythm;
    centre = 43;
    ending = m.endings[2];
    break;
  default:
    break;
  }
  std::string full = motif + motif.substr(0, 16) + ending;
  if (kind == K::Breakdown) {
    full = motif + std::string(32, '.'); // only the hook, then the breath
  }
  // Melody and chorus share their opening: the same draw starts both.
  Rng rng(recipe.seed,
          DRAW_MELODY +
              (isChorus(kind) || kind == K::Breakdown ? 1u : static_cast<uint32_t>(kind) + 2u));
  const int32_t low = 38;
  const int32_t high = recipe.format == TuneFormat::Mod ? 46 : 47;
  std::vector<Onset> onsets = onsetsOf(full);
  std::vector<int32_t> firstBar;
  int32_t previous = centre;
  for (size_t i = 0; i < onsets.size(); ++i) {
    const Onset &o = onsets[i];
    int32_t bar = o.row / 16;
    int32_t degree = s.chordAt(o.row).degree;
    int32_t index;
    if (bar == 2 && kind != K::Breakdown) {
      // Bar 1's shape again, moved to the new chord (a sequence).
      size_t pos = 0;
      for (size_t j = 0; j < i; ++j) {
        pos += onsets[j].row >= 32 ? 1 : 0;
      }
      int32_t shift = ((s.chords[4].degree - s.chords[0].degree + 3) % 7 + 7) % 7 - 3; // smallest move
      index = pos < firstBar.size() ? firstBar[pos] + shift : previous;
      if (o.row % 8 == 0 && !isChordTone(index, degree)) {
        index += isChordTone(index + 1, degree) ? 1 : -1;
      }
      index = std::clamp(index, low, high);
    } else {
      int32_t phase = o.row % 32;
      int32_t rise = kind == K::Build ? o.row / 12 : 0; // the build climbs
      int32_t target = centre + rise + (phase < 16 ? phase / 4 : (32 - phase) / 4) - 1;
      index = nextIndex(rng, previous, degree, o.row % 16, o.length, target, low, high);
      if (i == 0) {
        index = centre - 2 + 2 * rng.below(2);
        while (!isChordTone(index, degree)) {
          ++index;
        }
      }
    }
    if (o.row >= 48 && i + 1 == onsets.size()) {
      // Cadence: the last note settles on the chord's root or third.
      index = previous;
      int32_t towards = index > centre ? -1 : 1;
      while (!isChordTone(index, degree) || ((index - degree) % 7 + 7) % 7 == 4) {
        index += towards;
      }
    }
    if (bar == 0) {
      firstBar.push_back(index);
    }
    previous = index;
    int32_t volume = (o.row % 16 == 0 ? 60 : (o.row % 4 == 0 ? 54 : 48)) + rng.below(5) - 2;
    s.lead.push_back(
        {o.row, o.length, followChord(pitchOf(recipe, index), s.chordAt(o.row), recipe), volume});
  }
  if (kind == K::Theme) {
    // Call and answer: the second voice takes the second and fourth bars.
    std::vector<ScoreNote> call;
    for (const ScoreNote &n : s.lead) {
      (n.row / 16 % 2 == 1 ? s.answer : call).push_back(n);
    }
    s.lead = call;
  }
}

// Plucked notes over the chord, an octave above the pads: eighths in a
// chorus, quarters where the music builds or breathes.
void addArps(SectionScore &s, K kind, int32_t round) {
  int32_t every = isChorus(kind) || kind == K::Breakdown ? 2 : 4;
  if (kind == K::Verse || kind == K::Bridge || kind == K::Theme) {
    return;
  }
  const int32_t order[8] = {0, 1, 2, 3, 2, 1, 0, 1};
  for (int32_t row = 0; row < 64; row += every) {
    const Chord &c = s.chordAt(row);
    int32_t k = order[(row / every + round) % 8];
    int32_t pitch = k == 3 ? c.tones[0] + 24 : c.tones[static_cast<size_t>(k)] + 12;
    int32_t volume = row % 8 == 0 ? 40 : 32;
    s.arps.push_back({row, every, pitch, kind == K::Breakdown ? volume * 3 / 4 : volume});
  }
}

// The harmony of a section: the progression a bar a chord; choruses, second
// verses and themes lead into their third bar through its dominant, and
// choruses turn back home through the dominant in the last half bar.
void setChords(SectionScore &s, const TuneRecipe &recipe, const int32_t *degrees, K kind) {
  for (int32_t half = 0; half < 8; ++half) {
    s.chords[static_cast<size_t>(half)] = chordOf(recipe, degrees[half / 2]);
  }
  bool leads = isChorus(kind) || kind == K::Verse2 || kind == K::Theme || kind == K::Breakdown;
  Chord secondary = dominantOf(s.chords[4]);
  if (leads && s.chords[4].root != s.chords[2].root && secondary.root != s.chords[2].root) {
    s.chords[3] = secondary;
  }
  Chord home = chordOf(recipe, 4);
  if ((isChorus(kind) || kind == K::Bridge) && s.chords[6].root != home.root &&
      s.chords[6].degree != 0) {
    s.chords[7] = home;
  }
}
} // namespace

SectionScore composeSection(const TuneRecipe &base, const TuneMaterial &material,
                            SectionKind kind, int32_t round) {
  TuneRecipe recipe = base;
  int32_t lift = 0;
  if (kind == K::Final && material.lift) {
    lift = 2;
    recipe.key = (recipe.key + 2) % 12;
  }
  SectionScore s;
  setChords(s, recipe, degreesOf(recipe, material, kind), kind);
  const int32_t padVolumes[] = {44, 36, 36, 40, 34, 34, 42, 48, 36, 34}; // by kind
  s.padVolume = padVolumes[static_cast<int>(kind)];
  addDrums(s, material, kind, round);
  addBass(s, material, kind, round);
  if (kind != K::Intro) {
    addMelody(s, recipe, material, kind, lift);
    int32_t lowest = pitchOf(recipe, 38);
    int32_t highest = pitchOf(recipe, recipe.format == TuneFormat::Mod ? 46 : 47);
    varyMelody(s.lead, round, lowest, highest, s, recipe);
    varyMelody(s.answer, round, lowest, highest, s, recipe);
    fitToChords(s.lead, s);
    fitToChords(s.answer, s);
  }
  addArps(s, kind, round);
  applyLevel(s, levelOf(kind));
  return s;
}
