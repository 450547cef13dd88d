// Seeded choices of a tune: melody rhythms built beat by beat from rhythm
// cells weighted by the section's character, bass bars, grooves and the form.
#include "rhythm.h"
#include <algorithm>
#include <cmath>

namespace {
uint64_t mix64(uint64_t z) {
  z += 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Melody styles: the weight of each one-beat cell in each.
enum Style { VERSE, CHORUS, LONG, THEME };
struct CellChoice {
  const char *steps;
  int32_t weight[4];
};
const CellChoice CELLS[] = {
    {"x---", {2, 3, 4, 2}}, {"x-x-", {3, 4, 1, 2}}, {"x--x", {3, 2, 0, 3}}, {"x-xx", {1, 2, 0, 1}},
    {"--x-", {2, 1, 1, 2}}, {"x.x-", {1, 1, 0, 1}}, {"----", {2, 1, 5, 1}}, {"xxx-", {0, 1, 0, 1}},
    {"x-.x", {1, 1, 0, 2}}, {"-x--", {1, 0, 0, 1}},
};
constexpr int32_t CELL_COUNT = sizeof CELLS / sizeof CELLS[0];

int32_t onsetCount(const std::string &r) {
  return static_cast<int32_t>(std::count(r.begin(), r.end(), 'x'));
}

std::string drawCell(Rng &rng, Style style) {
  std::vector<int32_t> weights;
  for (const CellChoice &c : CELLS) {
    weights.push_back(c.weight[style]);
  }
  return CELLS[rng.weighted(weights)].steps;
}

// A two-bar motif: it opens on the downbeat and breathes on its last beat.
std::string drawMotif(Rng &rng, Style style) {
  int32_t fewest = style == LONG ? 3 : 5;
  int32_t most = style == LONG ? 6 : 14;
  for (;;) {
    std::string r;
    for (int32_t beat = 0; beat < 8; ++beat) {
      std::string cell = drawCell(rng, style);
      if (beat == 0 && cell[0] != 'x') {
        cell = "x" + cell.substr(1);
      }
      if (beat == 7) {
        cell = (style == LONG || rng.below(2) == 0) ? "----" : "x---";
      }
      r += cell;
    }
    int32_t n = onsetCount(r);
    if (n >= fewest && n <= most && onsetCount(r.substr(0, 16)) >= 2) {
      return r;
    }
  }
}

// A cadence bar: two beats in the section's style, then a long last note.
std::string drawEnding(Rng &rng) {
  const char *const thirds[] = {"x---", "x-x-", "--x-"};
  std::string r = drawCell(rng, VERSE) + drawCell(rng, CHORUS) + thirds[rng.below(3)] + "----";
  if (r[0] != 'x') {
    r[0] = 'x';
  }
  return r;
}

// One bar of bass: the root on the downbeat, then eighths (sometimes pushed a
// sixteenth early) on the root, fifth or octave; busy bars play more of them.
std::string drawBassBar(Rng &rng, bool busy) {
  for (;;) {
    std::string r(16, '-');
    r[0] = 'R';
    for (int32_t eighth = 1; eighth < 8; ++eighth) {
      if (rng.below(100) >= (busy ? 62 : 40)) {
        continue;
      }
      int32_t at = 2 * eighth - (rng.below(5) == 0 ? 1 : 0);
      if (r[static_cast<size_t>(at)] != '-') {
        continue;
      }
      const char letters[] = {'R', 'R', 'R', 'F', 'O', 'O'};
      r[static_cast<size_t>(at)] = letters[rng.below(6)];
      if (rng.below(4) == 0 && r[static_cast<size_t>(at - 1)] == '-') {
        r[static_cast<size_t>(at - 1)] = '.'; // a short note before this one
      }
    }
    int32_t n = static_cast<int32_t>(16 - std::count(r.begin(), r.end(), '-') -
                                     std::count(r.begin(), r.end(), '.'));
    if (n >= (busy ? 4 : 2)) {
      return r;
    }
  }
}

// Kick and snare of one bar; the hats are drawn apart from them.
const char *const KICKS_SNARES[][2] = {
    {"x.......x.x.....", "....x.......x..."}, // rock
    {"x...x...x...x...", "....x.......x..."}, // four to the floor
    {"x.x.......xx....", "....x..x.x..x..x"}, // breakbeat
    {"x.....x..x......", "....x.......x..."}, // push
    {"x.....x.x.......", "....x.......x..."}, // pop
    {"x..x..x...x.....", "....x.......x..."}, // shuffle
    {"x......xx.......", "....x.......x.x."}, // skip
};
const char *const HATS[] = {"c.c.c.c.c.c.c.c.", "cccccccccccccccc", "..o...o...o...o.",
                            "c.o.c.o.c.o.c.o.", "c.cc.cc.c.cc.co.", "c.c.c.ccc.c.c.cc"};

std::string drawMotifUnlike(Rng &rng, Style style, const std::vector<std::string> &others) {
  for (int32_t tries = 0; tries < 20; ++tries) {
    std::string r = drawMotif(rng, style);
    if (std::find(others.begin(), others.end(), r) == others.end()) {
      return r;
    }
  }
  return drawMotif(rng, style);
}

using K = SectionKind;
} // namespace

Rng::Rng(uint32_t seed, uint32_t purpose)
    : state(mix64(mix64(seed) ^ (static_cast<uint64_t>(purpose) << 32))) {}

uint32_t Rng::next() {
  state = mix64(state);
  return static_cast<uint32_t>(state >> 32);
}

int32_t Rng::below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint32_t>(n)); }

int32_t Rng::weighted(const std::vector<int32_t> &weights) {
  int32_t total = 0;
  for (int32_t w : weights) {
    total += w;
  }
  int32_t pick = below(total);
  for (size_t i = 0; i < weights.size(); ++i) {
    pick -= weights[i];
    if (pick < 0) {
      return static_cast<int32_t>(i);
    }
  }
  return 0;
}

std::vector<SectionKind> drawForm(uint32_t seed, int32_t tempo, double minSeconds) {
  Rng rng(seed, DRAW_FORM);
  double sectionSeconds = 960.0 / tempo;
  // Twelve sections at the least, each of its own, so a pass holds enough
  // material that no phrase wears out over twenty minutes of play.
  size_t need = std::max<size_t>(12, static_cast<size_t>(std::ceil(minSeconds / sectionSeconds)));
  const std::vector<std::vector<K>> firstVerses = {{K::Verse, K::Verse2},
                                                   {K::Verse, K::Build},
                                                   {K::Verse, K::Verse2, K::Build},
                                                   {K::Verse, K::Theme},
                                                   {K::Verse}};
  const std::vector<std::vector<K>> laterVerses = {{K::Verse2},
                                                   {K::Verse2, K::Build},
                                                   {K::Verse, K::Verse2},
                                                   {K::Theme, K::Build},
                                                   {K::Verse, K::Build}};
  const std::vector<std::vector<K>> choruses = {
      {K::Chorus}, {K::Chorus, K::Chorus2}, {K::Chorus, K::Chorus2}};
  const std::vector<std::vector<K>> breaks = {{K::Bridge},
                                              {K::Breakdown},
                                              {K::Theme},
                                              {K::Bridge, K::Breakdown},
                                              {K::Breakdown, K::Build},
                                              {K::Theme, K::Bridge}};
  std::vector<K> form = {K::Intro};
  auto add = [&form](const std::vector<K> &part) {
    form.insert(form.end(), part.begin(), part.end());
  };
  add(firstVerses[static_cast<size_t>(rng.below(static_cast<int32_t>(firstVerses.size())))]);
  add(choruses[static_cast<size_t>(rng.below(static_cast<int32_t>(choruses.size())))]);
  while (form.size() + 3 < need) {
    add(breaks[static_cast<size_t>(rng.below(static_cast<int32_t>(breaks.size())))]);
    add(laterVerses[static_cast<size_t>(rng.below(static_cast<int32_t>(laterVerses.size())))]);
    add(choruses[static_cast<size_t>(rng.below(static_cast<int32_t>(choruses.size())))]);
  }
  // The end: a final chorus, then either a breakdown that lets the level fall
  // before the verse comes round again, or straight back.
  form.push_back(K::Final);
  if (form.size() < need || rng.below(2) == 0) {
    form.push_back(K::Breakdown);
  }
  while (form.size() < need) {
    form.insert(form.end() - 2, K::Chorus2);
  }
  // Every tune has a section of contrast with a progression of its own.
  if (std::find(form.begin(), form.end(), K::Bridge) == form.end() &&
      std::find(form.begin(), form.end(), K::Theme) == form.end()) {
    form.insert(std::find(form.begin(), form.end(), K::Final), K::Bridge);
  }
  return form;
}

TuneMaterial drawMaterial(const TuneRecipe &recipe) {
  TuneMaterial m;
  Rng verse(recipe.seed, DRAW_VERSE_RHYTHM);
  Rng chorus(recipe.seed, DRAW_CHORUS_RHYTHM);
  Rng bridge(recipe.seed, DRAW_BRIDGE_RHYTHM);
  Rng theme(recipe.seed, DRAW_THEME_RHYTHM);
  m.verseRhythm = drawMotif(verse, VERSE);
  m.chorusRhythm = drawMotifUnlike(chorus, CHORUS, {m.verseRhythm});
  m.bridgeRhythm = drawMotif(bridge, LONG);
  m.themeRhythm = drawMotifUnlike(theme, THEME, {m.verseRhythm, m.chorusRhythm});
  Rng endings(recipe.seed, DRAW_ENDINGS);
  for (std::string &e : m.endings) {
    e = drawEnding(endings);
  }
  Rng bass(recipe.seed, DRAW_BASS);
  m.verseBass = drawBassBar(bass, false);
  m.chorusBass = drawBassBar(bass, true);
  Rng groove(recipe.seed, DRAW_GROOVE);
  const auto &ks = KICKS_SNARES[groove.below(
      static_cast<int32_t>(sizeof KICKS_SNARES / sizeof KICKS_SNARES[0]))];
  m.groove = {ks[0], ks[1], HATS[groove.below(static_cast<int32_t>(sizeof HATS / sizeof HATS[0]))]};
  if (groove.below(3) == 0 && m.groove.kick[14] == '.') {
    m.groove.kick[14] = 'x'; // a pickup into the next bar
  }
  m.themeProgression = groove.below(12);
  while (m.themeProgression == recipe.verse || m.themeProgression == recipe.chorus) {
    m.themeProgression = (m.themeProgression + 1) % 12; // a progression of its own
  }
  m.lift = groove.below(3) == 0;
  m.form = drawForm(recipe.seed, recipe.tempo, 100.0);
  return m;
}
