// FastTracker 2 (XM) writer: linear frequencies, one instrument per sample,
// 16-bit delta-coded sample data, packed patterns.
#include "song.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double XM_C4_RATE = 8363.0;

void putCellXm(std::vector<uint8_t> &out, const Cell &c) {
  uint8_t note = 0;
  if (c.note == NOTE_OFF) {
    note = 97;
  } else if (c.note != NOTE_NONE) {
    note = static_cast<uint8_t>(std::clamp<int32_t>(c.note - 11, 1, 96));
  }
  uint8_t effect = 0;
  uint8_t param = 0;
  numberedCommand(c, &effect, &param);
  uint8_t flags = 0x80;
  if (note != 0) {
    flags |= 0x01;
  }
  if (c.instrument != 0) {
    flags |= 0x02;
  }
  if (c.volume != 255) {
    flags |= 0x04;
  }
  if (effect != 0) {
    flags |= 0x08;
  }
  if (param != 0) {
    flags |= 0x10;
  }
  out.push_back(flags);
  if (note != 0) {
    out.push_back(note);
  }
  if (c.instrument != 0) {
    out.push_back(c.instrument);
  }
  if (c.volume != 255) {
    out.push_back(static_cast<uint8_t>(0x10 + std::min<uint8_t>(c.volume, 64)));
  }
  if (effect != 0) {
    out.push_back(effect);
  }
  if (param != 0) {
    out.push_back(param);
  }
}

void putInstrument(std::vector<uint8_t> &out, const Instrument &ins) {
  size_t start = out.size();
  putLe32(out, 263);
  putText(out, ins.name, 22);
  out.push_back(0);
  putLe16(out, 1);
  putLe32(out, 40);
  out.resize(start + 263, 0); // note map, envelopes off, no vibrato, fadeout 0
  // Relative note and finetune make the XM note of rootNote play at sampleRate.
  double rel = semitonesBetween(ins.sampleRate, XM_C4_RATE) - (ins.rootNote - 60);
  double relNote = std::round(rel);
  int32_t fine =
      std::clamp<int32_t>(static_cast<int32_t>(std::lround((rel - relNote) * 128.0)), -128, 127);
  bool loop = ins.loopLength > 0;
  putLe32(out, static_cast<uint32_t>(ins.pcm.size() * 2));
  putLe32(out, loop ? static_cast<uint32_t>(ins.loopStart * 2) : 0);
  putLe32(out, loop ? static_cast<uint32_t>(ins.loopLength * 2) : 0);
  out.push_back(static_cast<uint8_t>(std::clamp(ins.volume, 0, 64)));
  out.push_back(static_cast<uint8_t>(static_cast<int8_t>(fine)));
  out.push_back(static_cast<uint8_t>((loop ? 1 : 0) | 0x10));
  out.push_back(static_cast<uint8_t>(std::clamp(ins.panning, 0, 255)));
  out.push_back(static_cast<uint8_t>(static_cast<int8_t>(relNote)));
  out.push_back(0);
  putText(out, ins.name, 22);
  int16_t previous = 0;
  for (int16_t s : ins.pcm) {
    putLe16(out, static_cast<uint16_t>(s - previous));
    previous = s;
  }
}
} // namespace

std::vector<uint8_t> writeXm(const Song &song) {
  std::vector<uint8_t> out;
  putText(out, "Extended Module: ", 17);
  putText(out, song.title, 20);
  out.push_back(0x1A);
  putText(out, "Pelta assetgen", 20);
  putLe16(out, 0x0104);
  putLe32(out, 276);
  putLe16(out, static_cast<uint32_t>(song.orders.size()));
  putLe16(out, static_cast<uint32_t>(song.loopOrder));
  putLe16(out, static_cast<uint32_t>(song.channels + song.channels % 2));
  putLe16(out, static_cast<uint32_t>(song.patterns.size()));
  putLe16(out, static_cast<uint32_t>(song.instruments.size()));
  putLe16(out, 1); // linear frequencies
  putLe16(out, static_cast<uint32_t>(song.speed));
  putLe16(out, static_cast<uint32_t>(song.tempo));
  for (size_t i = 0; i < 256; ++i) {
    out.push_back(i < song.orders.size() ? song.orders[i] : 0);
  }
  int32_t channels = song.channels + song.channels % 2;
  for (const Pattern &p : song.patterns) {
    putLe32(out, 9);
    out.push_back(0);
    putLe16(out, PATTERN_ROWS);
    size_t sizeAt = out.size();
    putLe16(out, 0);
    size_t dataStart = out.size();
    for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
      for (int32_t ch = 0; ch < channels; ++ch) {
        Cell empty;
        putCellXm(out, ch < song.channels ? p.at(row, ch, song.channels) : empty);
      }
    }
    setLe16(out, sizeAt, static_cast<uint32_t>(out.size() - dataStart));
  }
  for (const Instrument &ins : song.instruments) {
    putInstrument(out, ins);
  }
  return out;
}
