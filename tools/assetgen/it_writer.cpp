// Impulse Tracker (IT) writer in sample mode: signed 16-bit samples,
// channel panning, packed patterns with a full mask on every entry.
#include <algorithm>
#include <cmath>
#include "song.h"

namespace {
std::vector<uint8_t> packPattern(const Song &song, const Pattern &p) {
  std::vector<uint8_t> data;
  for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
    for (int32_t ch = 0; ch < song.channels; ++ch) {
      const Cell &c = p.at(row, ch, song.channels);
      uint8_t cmd = 0;
      uint8_t info = 0;
      letterCommand(c, 32, &cmd, &info);
      uint8_t mask = 0;
      if (c.note != NOTE_NONE) {
        mask |= 1;
      }
      if (c.instrument != 0) {
        mask |= 2;
      }
      if (c.volume != 255) {
        mask |= 4;
      }
      if (cmd != 0) {
        mask |= 8;
      }
      if (mask == 0) {
        continue;
      }
      data.push_back(static_cast<uint8_t>((ch + 1) | 0x80));
      data.push_back(mask);
      if (mask & 1) {
        data.push_back(c.note == NOTE_OFF ? 254 : static_cast<uint8_t>(std::min<int32_t>(c.note, 119)));
      }
      if (mask & 2) {
        data.push_back(c.instrument);
      }
      if (mask & 4) {
        data.push_back(std::min<uint8_t>(c.volume, 64));
      }
      if (mask & 8) {
        data.push_back(cmd);
        data.push_back(info);
      }
    }
    data.push_back(0);
  }
  std::vector<uint8_t> out;
  putLe16(out, static_cast<uint32_t>(data.size()));
  putLe16(out, PATTERN_ROWS);
  putLe32(out, 0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}
} // namespace

std::vector<uint8_t> writeIt(const Song &song) {
  std::vector<uint8_t> out;
  size_t orderCount = song.orders.size() + 1; // closing 255
  out.insert(out.end(), {'I', 'M', 'P', 'M'});
  putText(out, song.title, 26);
  out.push_back(4);
  out.push_back(16);
  putLe16(out, static_cast<uint32_t>(orderCount));
  putLe16(out, 0); // no instruments: sample mode
  putLe16(out, static_cast<uint32_t>(song.instruments.size()));
  putLe16(out, static_cast<uint32_t>(song.patterns.size()));
  putLe16(out, 0x0214);
  putLe16(out, 0x0214);
  putLe16(out, 1 | 8); // stereo, linear slides
  putLe16(out, 0);
  out.push_back(128); // global volume
  out.push_back(48);  // mix volume
  out.push_back(static_cast<uint8_t>(song.speed));
  out.push_back(static_cast<uint8_t>(song.tempo));
  out.push_back(128); // separation
  out.push_back(0);
  putLe16(out, 0);
  putLe32(out, 0);
  putLe32(out, 0);
  for (int32_t ch = 0; ch < 64; ++ch) {
    int32_t pan = ch < static_cast<int32_t>(song.channelPan.size()) ? song.channelPan[static_cast<size_t>(ch)] : 32;
    out.push_back(ch < song.channels ? static_cast<uint8_t>(std::clamp(pan, 0, 64)) : 0xA0);
  }
  for (int32_t ch = 0; ch < 64; ++ch) {
    out.push_back(64);
  }
  for (size_t i = 0; i < orderCount; ++i) {
    out.push_back(i < song.orders.size() ? song.orders[i] : 255);
  }
  size_t sampleOffsets = out.size();
  out.resize(out.size() + 4 * song.instruments.size() + 4 * song.patterns.size(), 0);
  size_t patternOffsets = sampleOffsets + 4 * song.instruments.size();
  std::vector<size_t> headerAt;
  for (size_t i = 0; i < song.instruments.size(); ++i) {
    const Instrument &ins = song.instruments[i];
    headerAt.push_back(out.size());
    setLe32(out, sampleOffsets + 4 * i, static_cast<uint32_t>(out.size()));
    out.insert(out.end(), {'I', 'M', 'P', 'S'});
    putText(out, ins.name, 12);
    out.push_back(0);
    out.push_back(64); // global volume
    bool loop = ins.loopLength > 0;
    out.push_back(static_cast<uint8_t>(0x01 | 0x02 | (loop ? 0x10 : 0)));
    out.push_back(static_cast<uint8_t>(std::clamp(ins.volume, 0, 64)));
    putText(out, ins.name, 26);
    out.push_back(1); // signed
    out.push_back(0); // no default panning
    putLe32(out, static_cast<uint32_t>(ins.pcm.size()));
    putLe32(out, loop ? static_cast<uint32_t>(ins.loopStart) : 0);
    putLe32(out, loop ? static_cast<uint32_t>(ins.loopStart + ins.loopLength) : 0);
    putLe32(out, static_cast<uint32_t>(std::lround(ins.sampleRate * std::pow(2.0, (60 - ins.rootNote) / 12.0))));
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0); // data offset, filled below
    putLe32(out, 0); // no auto-vibrato
  }
  for (size_t i = 0; i < song.patterns.size(); ++i) {
    setLe32(out, patternOffsets + 4 * i, static_cast<uint32_t>(out.size()));
    auto packed = packPattern(song, song.patterns[i]);
    out.insert(out.end(), packed.begin(), packed.end());
  }
  for (size_t i = 0; i < song.instruments.size(); ++i) {
    setLe32(out, headerAt[i] + 0x48, static_cast<uint32_t>(out.size()));
    for (int16_t s : song.instruments[i].pcm) {
      putLe16(out, static_cast<uint16_t>(s));
    }
  }
  return out;
}
