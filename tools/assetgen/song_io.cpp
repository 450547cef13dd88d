// Byte helpers shared by the tracker writers, and the writer by format.
#include "song.h"
#include <algorithm>
#include <cmath>

void putLe16(std::vector<uint8_t> &out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void putLe32(std::vector<uint8_t> &out, uint32_t v) {
  putLe16(out, v & 0xFFFFu);
  putLe16(out, v >> 16);
}

// Fixed-width text field, cut or padded with zero bytes.
void putText(std::vector<uint8_t> &out, const std::string &text, size_t width) {
  for (size_t i = 0; i < width; ++i) {
    out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
  }
}

void setLe16(std::vector<uint8_t> &out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void setLe32(std::vector<uint8_t> &out, size_t at, uint32_t v) {
  setLe16(out, at, v & 0xFFFFu);
  setLe16(out, at + 2, v >> 16);
}

void padTo16(std::vector<uint8_t> &out) {
  while (out.size() % 16 != 0) {
    out.push_back(0);
  }
}

double semitonesBetween(double rate, double reference) {
  return 12.0 * std::log2(rate / reference);
}

std::vector<uint8_t> writeSong(const Song &song, TuneFormat format) {
  switch (format) {
  case TuneFormat::Mod:
    return writeMod(song);
  case TuneFormat::S3m:
    return writeS3m(song);
  case TuneFormat::Xm:
    return writeXm(song);
  case TuneFormat::It:
    return writeIt(song);
  }
  return {};
}

void numberedCommand(const Cell &c, uint8_t *effect, uint8_t *param) {
  *effect = 0;
  *param = c.param;
  switch (c.fx) {
  case Fx::Speed:
    *effect = 0xF;
    *param = std::clamp<uint8_t>(c.param, 1, 31);
    break;
  case Fx::Tempo:
    *effect = 0xF;
    *param = std::max<uint8_t>(c.param, 32);
    break;
  case Fx::VolumeDown:
    *effect = 0xA;
    *param = c.param & 0x0F;
    break;
  case Fx::NoteCut:
    *effect = 0xE;
    *param = static_cast<uint8_t>(0xC0 | (c.param & 0x0F));
    break;
  case Fx::Arpeggio:
    break;
  case Fx::Vibrato:
    *effect = 0x4;
    break;
  case Fx::PortaUp:
    *effect = 0x1;
    break;
  case Fx::PatternJump:
    *effect = 0xB;
    break;
  case Fx::PatternBreak:
    *effect = 0xD;
    *param = 0;
    break;
  case Fx::Pan:
    *effect = 0x8;
    break;
  case Fx::None:
    *param = 0;
    break;
  }
}

void letterCommand(const Cell &c, uint8_t minTempo, uint8_t *cmd, uint8_t *info) {
  switch (c.fx) {
  case Fx::Speed:
    *cmd = 1;
    *info = c.param;
    break; // A
  case Fx::Tempo:
    *cmd = 20;
    *info = std::max<uint8_t>(c.param, minTempo);
    break; // T
  case Fx::VolumeDown:
    *cmd = 4;
    *info = c.param & 0x0F;
    break; // D0y
  case Fx::NoteCut:
    *cmd = 19;
    *info = 0xC0 | (c.param & 0x0F);
    break; // SCx
  case Fx::Arpeggio:
    *cmd = 10;
    *info = c.param;
    break; // J
  case Fx::Vibrato:
    *cmd = 8;
    *info = c.param;
    break; // H
  case Fx::PortaUp:
    *cmd = 6;
    *info = c.param;
    break; // F
  case Fx::PatternJump:
    *cmd = 2;
    *info = c.param;
    break; // B
  case Fx::PatternBreak:
    *cmd = 3;
    *info = 0;
    break; // C00
  case Fx::Pan:
    *cmd = 24;
    *info = c.param;
    break; // X
  case Fx::None:
    *cmd = 0;
    *info = 0;
    break;
  }
}
