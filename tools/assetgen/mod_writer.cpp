// ProTracker MOD writer: 4 channels, "M.K.", 31 samples, signed 8-bit data,
// big-endian words.
#include "song.h"
#include <algorithm>
#include <cmath>

namespace {
// Finetune-0 periods of the three octaves, C-1 … B-3.
const uint16_t PERIODS[36] = {856, 808, 762, 720, 678, 640, 604, 570, 538, 508, 480, 453,
                              428, 404, 381, 360, 339, 320, 302, 285, 269, 254, 240, 226,
                              214, 202, 190, 180, 170, 160, 151, 143, 135, 127, 120, 113};
constexpr double C3_RATE = 3546895.0 / 214.0; // a sample at this rate sounds its root at C-3

void putBe16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

struct Tuning {
  int32_t indexOffset; // period index of the root note minus 24
  int32_t finetune;    // -8 … 7 eighths of a semitone
};

Tuning tuningOf(const Instrument &ins) {
  double exact = semitonesBetween(ins.sampleRate, C3_RATE);
  double k = std::round(exact);
  int32_t fine = static_cast<int32_t>(std::lround((exact - k) * 8.0));
  return {static_cast<int32_t>(k), std::clamp(fine, -8, 7)};
}

// Period index 0 … 35 of a MIDI note, moved by octaves into the playable range.
int32_t periodIndex(const Instrument &ins, int32_t note) {
  int32_t i = 24 + tuningOf(ins).indexOffset + note - ins.rootNote;
  while (i < 0) {
    i += 12;
  }
  while (i > 35) {
    i -= 12;
  }
  return i;
}

void putCell(std::vector<uint8_t> &out, const Song &song, const Cell &c) {
  uint32_t period = 0;
  uint32_t sample = c.instrument;
  if (c.note != NOTE_NONE && c.note != NOTE_OFF && sample >= 1 &&
      sample <= song.instruments.size()) {
    period = PERIODS[periodIndex(song.instruments[sample - 1], c.note)];
  }
  uint8_t effect = 0;
  uint8_t param = 0;
  numberedCommand(c, &effect, &param);
  // MOD has no volume column: a volume or a note-off becomes effect C.
  if (c.fx == Fx::None && c.note == NOTE_OFF) {
    effect = 0xC; // volume 0 silences the channel
    param = 0;
  } else if (c.fx == Fx::None && c.volume != 255) {
    effect = 0xC;
    param = static_cast<uint8_t>(std::min<uint32_t>(c.volume, 64));
  }
  out.push_back(static_cast<uint8_t>((sample & 0x10) | ((period >> 8) & 0x0F)));
  out.push_back(static_cast<uint8_t>(period & 0xFF));
  out.push_back(static_cast<uint8_t>(((sample & 0x0F) << 4) | effect));
  out.push_back(static_cast<uint8_t>(param));
}

// Signed 8-bit data of even length; a one-shot starts with two zero bytes.
std::vector<int8_t> sampleData(const Instrument &ins) {
  std::vector<int8_t> data;
  if (ins.loopLength == 0) {
    data.push_back(0);
    data.push_back(0);
  }
  for (int16_t s : ins.pcm) {
    data.push_back(static_cast<int8_t>(std::clamp((s + 128) >> 8, -128, 127)));
  }
  if (data.size() % 2 != 0) {
    data.push_back(0);
  }
  data.resize(std::min<size_t>(data.size(), 131070));
  return data;
}
} // namespace

std::vector<uint8_t> writeMod(const Song &song) {
  std::vector<uint8_t> out;
  putText(out, song.title, 20);
  std::vector<std::vector<int8_t>> datas;
  for (size_t i = 0; i < 31; ++i) {
    if (i >= song.instruments.size()) {
      putText(out, "", 22);
      putBe16(out, 0);
      out.push_back(0);
      out.push_back(0); // volume 0 in an empty slot
      putBe16(out, 0);
      putBe16(out, 1);
      continue;
    }
    const Instrument &ins = song.instruments[i];
    datas.push_back(sampleData(ins));
    const auto &d = datas.back();
    putText(out, ins.name, 22);
    putBe16(out, static_cast<uint32_t>(d.size() / 2));
    out.push_back(static_cast<uint8_t>(tuningOf(ins).finetune & 0x0F));
    out.push_back(static_cast<uint8_t>(std::clamp(ins.volume, 0, 64)));
    if (ins.loopLength > 0) {
      uint32_t start = static_cast<uint32_t>(ins.loopStart) / 2;
      uint32_t length = static_cast<uint32_t>(ins.loopLength) / 2;
      length = std::min<uint32_t>(length, static_cast<uint32_t>(d.size() / 2) - start);
      putBe16(out, start);
      putBe16(out, length);
    } else {
      putBe16(out, 0);
      putBe16(out, 1);
    }
  }
  size_t orderCount = std::min<size_t>(song.orders.size(), 128);
  out.push_back(static_cast<uint8_t>(orderCount));
  out.push_back(
      static_cast<uint8_t>(song.loopOrder < static_cast<int32_t>(orderCount) ? song.loopOrder : 0));
  uint8_t highest = 0;
  for (size_t i = 0; i < 128; ++i) {
    uint8_t o = i < orderCount ? song.orders[i] : 0;
    highest = std::max(highest, o);
    out.push_back(o);
  }
  out.insert(out.end(), {'M', '.', 'K', '.'});
  for (size_t p = 0; p <= highest; ++p) {
    for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
      for (int32_t ch = 0; ch < 4; ++ch) {
        Cell empty;
        const Cell &c = (p < song.patterns.size() && ch < song.channels)
                            ? song.patterns[p].at(row, ch, song.channels)
                            : empty;
        putCell(out, song, c);
      }
    }
  }
  for (const auto &d : datas) {
    for (int8_t s : d) {
      out.push_back(static_cast<uint8_t>(s));
    }
  }
  return out;
}
