// Scream Tracker 3 (S3M) writer: 16-bit unsigned samples, one panning table,
// parapointers to 16-byte aligned blocks.
#include "song.h"
#include <algorithm>
#include <cmath>

namespace {
uint32_t c2Speed(const Instrument &ins) {
  return static_cast<uint32_t>(
      std::lround(ins.sampleRate * std::pow(2.0, (60 - ins.rootNote) / 12.0)));
}

uint8_t noteByte(uint8_t note) {
  if (note == NOTE_OFF) {
    return 254; // note cut
  }
  int32_t m = std::clamp<int32_t>(note, 12, 107);
  return static_cast<uint8_t>(((m / 12 - 1) << 4) | (m % 12));
}

std::vector<uint8_t> packPattern(const Song &song, const Pattern &p) {
  std::vector<uint8_t> out = {0, 0};
  for (int32_t row = 0; row < PATTERN_ROWS; ++row) {
    for (int32_t ch = 0; ch < song.channels; ++ch) {
      const Cell &c = p.at(row, ch, song.channels);
      uint8_t cmd = 0;
      uint8_t info = 0;
      letterCommand(c, 33, &cmd, &info);
      uint8_t lead = static_cast<uint8_t>(ch);
      bool hasNote = c.note != NOTE_NONE || c.instrument != 0;
      if (hasNote) {
        lead |= 0x20;
      }
      if (c.volume != 255) {
        lead |= 0x40;
      }
      if (cmd != 0) {
        lead |= 0x80;
      }
      if ((lead & 0xE0) == 0) {
        continue;
      }
      out.push_back(lead);
      if (hasNote) {
        out.push_back(c.note != NOTE_NONE ? noteByte(c.note) : 255);
        out.push_back(c.instrument);
      }
      if (c.volume != 255) {
        out.push_back(std::min<uint8_t>(c.volume, 64));
      }
      if (cmd != 0) {
        out.push_back(cmd);
        out.push_back(info);
      }
    }
    out.push_back(0);
  }
  setLe16(out, 0, static_cast<uint32_t>(out.size()));
  return out;
}
} // namespace

std::vector<uint8_t> writeS3m(const Song &song) {
  std::vector<uint8_t> out;
  size_t orderCount = song.orders.size() + 1; // a closing 255, and even in all
  if (orderCount % 2 != 0) {
    ++orderCount;
  }
  putText(out, song.title, 28);
  out.push_back(0x1A);
  out.push_back(16);
  putLe16(out, 0);
  putLe16(out, static_cast<uint32_t>(orderCount));
  putLe16(out, static_cast<uint32_t>(song.instruments.size()));
  putLe16(out, static_cast<uint32_t>(song.patterns.size()));
  putLe16(out, 0);      // flags
  putLe16(out, 0x1320); // created with version
  putLe16(out, 2);      // unsigned samples
  out.insert(out.end(), {'S', 'C', 'R', 'M'});
  out.push_back(64); // global volume
  out.push_back(static_cast<uint8_t>(song.speed));
  out.push_back(static_cast<uint8_t>(song.tempo));
  out.push_back(0x80 | 48); // stereo, mix volume
  out.push_back(16);        // ultra-click removal
  out.push_back(0xFC);      // a panning table follows
  out.resize(0x3E, 0);
  putLe16(out, 0);
  for (int32_t ch = 0; ch < 32; ++ch) {
    uint8_t setting = 0xFF;
    if (ch < song.channels) {
      setting = static_cast<uint8_t>((ch % 2 == 0) ? ch / 2 : 8 + ch / 2);
    }
    out.push_back(setting);
  }
  for (size_t i = 0; i < orderCount; ++i) {
    out.push_back(i < song.orders.size() ? song.orders[i] : 255);
  }
  size_t instrumentPointers = out.size();
  out.resize(out.size() + 2 * song.instruments.size() + 2 * song.patterns.size(), 0);
  size_t patternPointers = instrumentPointers + 2 * song.instruments.size();
  for (int32_t ch = 0; ch < 32; ++ch) {
    int32_t pan = ch < static_cast<int32_t>(song.channelPan.size())
                      ? song.channelPan[static_cast<size_t>(ch)]
                      : 32;
    out.push_back(ch < song.channels ? static_cast<uint8_t>(0x20 | std::clamp(pan * 15 / 64, 0, 15))
                                     : 0);
  }
  std::vector<size_t> headerAt;
  for (size_t i = 0; i < song.instruments.size(); ++i) {
    padTo16(out);
    headerAt.push_back(out.size());
    setLe16(out, instrumentPointers + 2 * i, static_cast<uint32_t>(out.size() / 16));
    const Instrument &ins = song.instruments[i];
    out.push_back(1);
    putText(out, ins.name, 12);
    out.push_back(0);
    putLe16(out, 0); // data pointer, filled below
    putLe32(out, static_cast<uint32_t>(ins.pcm.size()));
    bool loop = ins.loopLength > 0;
    putLe32(out, loop ? static_cast<uint32_t>(ins.loopStart) : 0);
    putLe32(out, loop ? static_cast<uint32_t>(ins.loopStart + ins.loopLength) : 0);
    out.push_back(static_cast<uint8_t>(std::clamp(ins.volume, 0, 64)));
    out.push_back(0);
    out.push_back(0);
    out.push_back(static_cast<uint8_t>((loop ? 1 : 0) | 4));
    putLe32(out, c2Speed(ins));
    putLe32(out, 0);
    // Scream Tracker 3.20 saving with a SoundBlaster writes 1 as the sample's
    // card address; the address is what tells its files from other programs'.
    putLe16(out, 1);
    out.resize(out.size() + 6, 0);
    putText(out, ins.name, 28);
    out.insert(out.end(), {'S', 'C', 'R', 'S'});
  }
  for (size_t i = 0; i < song.patterns.size(); ++i) {
    padTo16(out);
    setLe16(out, patternPointers + 2 * i, static_cast<uint32_t>(out.size() / 16));
    auto packed = packPattern(song, song.patterns[i]);
    out.insert(out.end(), packed.begin(), packed.end());
  }
  for (size_t i = 0; i < song.instruments.size(); ++i) {
    padTo16(out);
    uint32_t para = static_cast<uint32_t>(out.size() / 16);
    out[headerAt[i] + 0x0D] = static_cast<uint8_t>(para >> 16);
    setLe16(out, headerAt[i] + 0x0E, para & 0xFFFFu);
    for (int16_t s : song.instruments[i].pcm) {
      putLe16(out, static_cast<uint16_t>(s) ^ 0x8000u);
    }
  }
  return out;
}
