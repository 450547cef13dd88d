// Section composer: diatonic chords from a progression, grooves from drum
// templates, a bass line on the chord roots, and a melody built from a
// two-bar rhythmic motif whose strong beats land on chord tones.
#include "sections.h"
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {
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

struct Groove {
  const char *kick, *snare, *hat; // one bar, 16 steps; hat: c closed, o open
};
const Groove GROOVES[] = {
    {"x.......x.x.....", "....x.......x...", "c.c.c.c.c.c.c.c."}, // 0 rock
    {"x...x...x...x...", "....x.......x...", "c.o.c.o.c.o.c.o."}, // 1 dance
    {"x.x.......xx....", "....x..x.x..x..x", "c.c.c.c.c.c.c.c."}, // 2 breakbeat
    {"x.....x..x......", "........x.......", "c.c.c.c.c.c.c.c."}, // 3 half-time
    {"x.....x.x.......", "....x.......x...", "cccccccccccccccc"}, // 4 sixteenth pop
    {"x..x..x...x.....", "....x.......x...", "c.cc.cc.c.cc.co."}, // 5 shuffle
};
const char *const FILL_SNARE = "....x...x.x.xxxx";

// Bass bars: R root, F fifth, O octave, T third, - hold, . rest.
const char *const BASS_STYLES[] = {
    "R-R-R-R-R-R-R-O-", // 0 driving eighths
    "R--R--R-F--R--O-", // 1 syncopated
    "R-------F-----T-", // 2 long
    "R-.RO-.RR-.RF-O.", // 3 funky
    "R-O-R-O-R-O-R-O-", // 4 octaves
};

// Two-bar melody rhythms: x onset, - hold, . rest.
const char *const VERSE_RHYTHMS[] = {
    "x--x--x-x-------x--x--x-x-x-x---", "x---x-x-x---x---x---x-x-x-------",
    "x-------x--x--x-x-------x-x-x-x-", "x--x--x---x-x---x--x--x---x-x---",
    "x-----x-x-----x-x-----x-x-x-x---",
};
const char *const CHORUS_RHYTHMS[] = {
    "x-x-x---x-x-x---x-x-x-x-x-------", "x-x-.xx-x---x-x-x-x-.xx-x-------",
    "x-x-x-x-x---x---x-x-x-x-x-------", "x--x--x-x--x--x-x--x--x-x-x-x-x-",
};
const char *const BRIDGE_RHYTHMS[] = {"x-------x-------x-------x-------", "x-----------x---x-------x-------"};
const char *const ENDINGS[] = {"x---x---x-------", "x-x-x-----------", "x-------x-------", "x--x--x---------"};

struct Rng {
  uint32_t state;
  uint32_t next() {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
  }
  int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint32_t>(n)); }
};

const int32_t *scaleOf(const TuneRecipe &recipe) { return recipe.minor ? MINOR : MAJOR; }

// Pitch of a scale index (7 per octave) above the tonic of octave 0.
int32_t pitchOf(const TuneRecipe &recipe, int32_t index) {
  int32_t octave = index >= 0 ? index / 7 : -((-index + 6) / 7);
  int32_t degree = index - octave * 7;
  int32_t key = recipe.key > 6 ? recipe.key - 12 : recipe.key; // tonic within a fifth of C
  return key + 12 * octave + scaleOf(recipe)[degree];
}

Chord chordOf(const TuneRecipe &recipe, int32_t degree) {
  Chord c;
  int32_t root = pitchOf(recipe, degree);
  int32_t third = pitchOf(recipe, degree + 2) - root;
  int32_t fifth = pitchOf(recipe, degree + 4) - root;
  if (recipe.minor && degree == 4) {
    third = 4; // the dominant of a minor key is major, so it leads home
  }
  c.root = ((root % 12) + 12) % 12;
  c.intervals = {third, fifth};
  // Voiced into one octave from G3, so chord changes move by small steps.
  int32_t pcs[3] = {c.root, (c.root + third) % 12, (c.root + fifth) % 12};
  for (int i = 0; i < 3; ++i) {
    int32_t t = 55 + ((pcs[i] - 55) % 12 + 12) % 12;
    c.tones[static_cast<size_t>(i)] = t;
  }
  std::sort(c.tones.begin(), c.tones.end());
  return c;
}

bool isChordTone(const TuneRecipe &recipe, int32_t index, int32_t degree) {
  int32_t d = ((index - degree) % 7 + 7) % 7;
  (void)recipe;
  return d == 0 || d == 2 || d == 4;
}

const int32_t *progressionOf(int32_t n) {
  int32_t count = static_cast<int32_t>(sizeof PROGRESSIONS / sizeof PROGRESSIONS[0]);
  return PROGRESSIONS[((n % count) + count) % count];
}

void addDrums(SectionScore &s, const TuneRecipe &recipe, SectionKind kind) {
  int32_t grooveCount = static_cast<int32_t>(sizeof GROOVES / sizeof GROOVES[0]);
  const Groove &g = GROOVES[kind == SectionKind::Bridge ? 3 : recipe.groove % grooveCount];
  bool fill = kind == SectionKind::Verse2 || kind == SectionKind::Chorus2 || kind == SectionKind::Chorus3 ||
              kind == SectionKind::Intro || kind == SectionKind::Bridge;
  for (int32_t row = 0; row < 64; ++row) {
    int32_t bar = row / 16;
    int32_t step = row % 16;
    DrumHit &d = s.drums[static_cast<size_t>(row)];
    bool introQuiet = kind == SectionKind::Intro && bar < 2;
    if (g.kick[step] == 'x') {
      d.kick = static_cast<uint8_t>(step == 0 ? 64 : 56);
    }
    if (!introQuiet && g.snare[step] == 'x') {
      d.snare = static_cast<uint8_t>(step % 4 == 0 ? 52 : 34);
    }
    if (g.hat[step] != '.') {
      d.hat = static_cast<uint8_t>(step % 4 == 0 ? 30 : (step % 2 == 0 ? 22 : 15));
      d.openHat = g.hat[step] == 'o';
      if (introQuiet) {
        d.hat = static_cast<uint8_t>(d.hat * 3 / 4);
      }
    }
    if (fill && bar == 3 && FILL_SNARE[step] == 'x') {
      d.snare = static_cast<uint8_t>(30 + step * 2);
      d.hat = 0;
    }
  }
  // A crash-like open hat marks the start of a chorus.
  if (kind == SectionKind::Chorus || kind == SectionKind::Chorus2 || kind == SectionKind::Chorus3) {
    s.drums[0].hat = 40;
    s.drums[0].openHat = true;
  }
}

void addBass(SectionScore &s, const TuneRecipe &recipe, SectionKind kind) {
  int32_t styleCount = static_cast<int32_t>(sizeof BASS_STYLES / sizeof BASS_STYLES[0]);
  const char *style = BASS_STYLES[kind == SectionKind::Bridge ? 2 : recipe.bassStyle % styleCount];
  for (int32_t bar = 0; bar < 4; ++bar) {
    const Chord &c = s.chords[static_cast<size_t>(bar)];
    int32_t root = 36 + c.root; // C2 … B2
    if (root > 43) {
      root -= 12; // keep the line low: G1 … G2
    }
    for (int32_t step = 0; step < 16; ++step) {
      char ch = style[step];
      if (ch == '-' || ch == '.') {
        continue;
      }
      int32_t pitch = ch == 'F' ? root + c.intervals[1] : ch == 'O' ? root + 12 : ch == 'T' ? root + c.intervals[0] : root;
      int32_t length = 1;
      while (step + length < 16 && style[step + length] == '-') {
        ++length;
      }
      if (step + length < 16 && style[step + length] == '.') {
        length = std::max(1, length);
      } else if (step + length == 16) {
        length = 16 - step; // runs to the next bar's first note
      }
      int32_t volume = step % 4 == 0 ? 52 : 44;
      s.bass.push_back({bar * 16 + step, length, pitch, volume});
    }
  }
}

// One melody note after another: strong beats take the chord tone nearest the
// line's direction, weak ones move by step towards a target register.
int32_t nextIndex(Rng &rng, const TuneRecipe &recipe, int32_t previous, int32_t degree, int32_t step, int32_t length,
                  int32_t target, int32_t low, int32_t high) {
  bool strong = step % 8 == 0 || length >= 6;
  int32_t dir = previous < target ? 1 : (previous > target ? -1 : (rng.below(2) ? 1 : -1));
  if (rng.below(4) == 0) {
    dir = -dir;
  }
  int32_t candidate;
  if (strong) {
    candidate = previous;
    for (int32_t d = 0; d <= 4; ++d) {
      int32_t a = previous + dir * d;
      int32_t b = previous - dir * d;
      if (isChordTone(recipe, a, degree) && d > 0) {
        candidate = a;
        break;
      }
      if (isChordTone(recipe, b, degree) && d > 1) {
        candidate = b;
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

std::vector<Onset> onsetsOf(const std::string &rhythm, int32_t base) {
  std::vector<Onset> out;
  for (int32_t i = 0; i < static_cast<int32_t>(rhythm.size()); ++i) {
    if (rhythm[static_cast<size_t>(i)] != 'x') {
      continue;
    }
    int32_t len = 1;
    while (i + len < static_cast<int32_t>(rhythm.size()) && rhythm[static_cast<size_t>(i + len)] == '-') {
      ++len;
    }
    out.push_back({base + i, len});
  }
  return out;
}

// A written melody: "E5:4 G5:2 -:2 …" (note name with octave, length in rows).
std::vector<ScoreNote> parseTheme(const char *text) {
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
    int32_t len = static_cast<int32_t>(std::strtol(p, const_cast<char **>(&p), 10));
    if (pitch >= 0) {
      out.push_back({row, len, pitch, row % 16 == 0 ? 56 : 50});
    }
    row += len;
  }
  return out;
}

void addMelody(SectionScore &s, const TuneRecipe &recipe, SectionKind kind, const int32_t *degrees) {
  bool chorus = kind == SectionKind::Chorus || kind == SectionKind::Chorus2 || kind == SectionKind::Chorus3;
  const char *theme = chorus ? recipe.chorusTheme : recipe.verseTheme;
  if (kind != SectionKind::Bridge && theme != nullptr && theme[0] != '\0') {
    s.lead = parseTheme(theme);
    return;
  }
  // Verse variants share their first phrase: the same seed starts them.
  uint32_t sectionSeed = chorus ? 2 : (kind == SectionKind::Bridge ? 3 : 1);
  Rng rng{recipe.seed * 7919u + sectionSeed * 104729u};
  std::string rhythm;
  if (chorus) {
    rhythm = CHORUS_RHYTHMS[rng.below(4)];
  } else if (kind == SectionKind::Bridge) {
    rhythm = BRIDGE_RHYTHMS[rng.below(2)];
  } else {
    rhythm = VERSE_RHYTHMS[rng.below(5)];
  }
  // Bars 3-4: the motif's first bar again, then a cadence.
  int32_t endingChoice = rng.below(4);
  if (kind == SectionKind::Verse2 || kind == SectionKind::Chorus2) {
    endingChoice = (endingChoice + 1) % 4;
  }
  if (kind == SectionKind::Chorus3) {
    endingChoice = 2;
  }
  std::string full = rhythm + rhythm.substr(0, 16) + ENDINGS[endingChoice];
  bool mod = recipe.format == TuneFormat::Mod;
  // Scale indexes: 42 is the tonic of octave 6 (MIDI 72 + key, C5 for C).
  int32_t centre = chorus ? 44 : (kind == SectionKind::Bridge ? 40 : 42);
  int32_t low = 38;
  int32_t high = mod ? 45 : 47;
  std::vector<Onset> onsets = onsetsOf(full, 0);
  std::vector<int32_t> firstBar;
  int32_t previous = centre;
  for (size_t i = 0; i < onsets.size(); ++i) {
    const Onset &o = onsets[i];
    int32_t bar = o.row / 16;
    int32_t degree = degrees[bar];
    int32_t index;
    if (bar == 2) {
      // Repeat bar 1's shape moved to the new chord (a sequence).
      size_t pos = 0;
      for (size_t j = 0; j < i; ++j) {
        if (onsets[j].row >= 32) {
          ++pos;
        }
      }
      int32_t shift = degrees[2] - degrees[0];
      shift = ((shift + 3) % 7 + 7) % 7 - 3; // smallest move
      index = pos < firstBar.size() ? firstBar[pos] + shift : previous;
      if (o.row % 8 == 0 && !isChordTone(recipe, index, degree)) {
        index += isChordTone(recipe, index + 1, degree) ? 1 : -1;
      }
      index = std::clamp(index, low, high);
    } else {
      int32_t phase = o.row % 32;
      int32_t target = centre + (phase < 16 ? phase / 4 : (32 - phase) / 4) - 1;
      index = nextIndex(rng, recipe, previous, degree, o.row % 16, o.length, target, low, high);
      if (i == 0) {
        index = centre - 2 + 2 * rng.below(2); // start on a chord-ish tone near the centre
        while (!isChordTone(recipe, index, degree)) {
          ++index;
        }
      }
    }
    if (o.row >= 48 && i + 1 == onsets.size()) {
      // Cadence: the last note settles on the chord's root or third.
      index = previous;
      int32_t towards = index > centre ? -1 : 1;
      while (!isChordTone(recipe, index, degree) || ((index - degree) % 7 + 7) % 7 == 4) {
        index += towards;
      }
    }
    if (bar == 0) {
      firstBar.push_back(index);
    }
    previous = index;
    int32_t volume = (o.row % 16 == 0 ? 56 : (o.row % 4 == 0 ? 50 : 44)) + rng.below(5) - 2;
    int32_t length = std::min(o.length, 64 - o.row - 1);
    if (length > 0) {
      s.lead.push_back({o.row, length, pitchOf(recipe, index), volume});
    }
  }
}

// Plucked sixteenths over the chord, an octave above the pads.
void addArps(SectionScore &s, SectionKind kind) {
  bool busy = kind == SectionKind::Chorus || kind == SectionKind::Chorus2 || kind == SectionKind::Chorus3;
  if (!busy && kind != SectionKind::Intro && kind != SectionKind::Verse2) {
    return;
  }
  const int32_t order[8] = {0, 1, 2, 3, 2, 1, 0, 1};
  for (int32_t row = 0; row < 64; row += busy ? 2 : 4) {
    const Chord &c = s.chords[static_cast<size_t>(row / 16)];
    int32_t k = order[(row / (busy ? 2 : 4)) % 8];
    int32_t pitch = k == 3 ? c.tones[0] + 24 : c.tones[static_cast<size_t>(k)] + 12;
    s.arps.push_back({row, 2, pitch, row % 8 == 0 ? 30 : 22});
  }
}
} // namespace

std::vector<SectionKind> sectionPlan(int32_t tempo) {
  static const SectionKind ORDER[] = {SectionKind::Intro,   SectionKind::Verse,   SectionKind::Verse2,
                                      SectionKind::Chorus,  SectionKind::Chorus2, SectionKind::Bridge,
                                      SectionKind::Verse2,  SectionKind::Chorus3, SectionKind::Chorus,
                                      SectionKind::Chorus3, SectionKind::Bridge,  SectionKind::Chorus2,
                                      SectionKind::Chorus3, SectionKind::Verse,   SectionKind::Chorus3};
  double sectionSeconds = 960.0 / tempo;
  size_t count = static_cast<size_t>(std::ceil(61.0 / sectionSeconds));
  count = std::clamp<size_t>(count, 8, sizeof ORDER / sizeof ORDER[0]);
  std::vector<SectionKind> plan(ORDER, ORDER + count);
  // End on a chorus ending, so the loop falls back into the intro.
  if (plan.back() != SectionKind::Chorus3) {
    plan.push_back(SectionKind::Chorus3);
  }
  return plan;
}

SectionScore composeSection(const TuneRecipe &recipe, SectionKind kind) {
  SectionScore s;
  bool chorus = kind == SectionKind::Chorus || kind == SectionKind::Chorus2 || kind == SectionKind::Chorus3;
  const int32_t *degrees = progressionOf(chorus ? recipe.chorus : (kind == SectionKind::Bridge ? recipe.bridge : recipe.verse));
  for (int32_t bar = 0; bar < 4; ++bar) {
    s.chords[static_cast<size_t>(bar)] = chordOf(recipe, degrees[bar]);
  }
  s.padVolume = kind == SectionKind::Bridge ? 34 : (chorus ? 26 : 30);
  addDrums(s, recipe, kind);
  addBass(s, recipe, kind);
  if (kind != SectionKind::Intro) {
    addMelody(s, recipe, kind, degrees);
  }
  addArps(s, kind);
  return s;
}
