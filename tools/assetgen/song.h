// A tracker song in memory, independent of file format, and the four writers
// that turn it into a MOD, S3M, XM or IT file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class TuneFormat : uint8_t { Mod, S3m, Xm, It };

// A sampled instrument: `pcm` sounds the MIDI note `rootNote` when played at
// `sampleRate` frames per second.
struct Instrument {
  std::string name;
  std::vector<int16_t> pcm;
  int32_t sampleRate = 22050;
  int32_t rootNote = 60;
  int32_t loopStart = 0;
  int32_t loopLength = 0; // 0: plays once
  int32_t volume = 64;    // default volume 0 … 64
  int32_t panning = 128;  // 0 left … 255 right (XM samples)
};

// Format-neutral effects; each writer spells them its own way.
enum class Fx : uint8_t {
  None,
  Speed,        // ticks per row
  Tempo,        // beats per minute
  VolumeDown,   // volume slide down by param per tick
  NoteCut,      // cut after param ticks
  Arpeggio,     // param: high nibble, low nibble semitones
  Vibrato,      // param: speed << 4 | depth
  PortaUp,      // unused by the composer; kept for completeness of the mapping
  PatternJump,  // param: the order to continue from
  PatternBreak, // continue at the next order's first row
  Pan,          // param: 0 left … 0x80 centre … 0xFF right
};

constexpr uint8_t NOTE_NONE = 0;
constexpr uint8_t NOTE_OFF = 255; // stop the note

struct Cell {
  uint8_t note = NOTE_NONE; // MIDI note 1 … 127, or NOTE_OFF
  uint8_t instrument = 0;   // 1-based; 0 = none
  uint8_t volume = 255;     // 0 … 64; 255 = none
  Fx fx = Fx::None;
  uint8_t param = 0;
};

constexpr int32_t PATTERN_ROWS = 64;

struct Pattern {
  std::vector<Cell> cells; // row-major, PATTERN_ROWS x channels
  Cell &at(int32_t row, int32_t channel, int32_t channels) {
    return cells[static_cast<size_t>(row * channels + channel)];
  }
  const Cell &at(int32_t row, int32_t channel, int32_t channels) const {
    return cells[static_cast<size_t>(row * channels + channel)];
  }
};

struct Song {
  std::string title;
  int32_t channels = 4;
  int32_t speed = 6;
  int32_t tempo = 125;
  std::vector<Instrument> instruments;
  std::vector<Pattern> patterns;
  std::vector<uint8_t> orders;
  std::vector<int32_t> channelPan; // 0 left … 64 right, per channel
  int32_t loopOrder = 0;           // where playback continues after the last order
};

std::vector<uint8_t> writeMod(const Song &song);
std::vector<uint8_t> writeS3m(const Song &song);
std::vector<uint8_t> writeXm(const Song &song);
std::vector<uint8_t> writeIt(const Song &song);
std::vector<uint8_t> writeSong(const Song &song, TuneFormat format);

// Byte-buffer helpers shared by the writers.
void putLe16(std::vector<uint8_t> &out, uint32_t v);
void putLe32(std::vector<uint8_t> &out, uint32_t v);
void putText(std::vector<uint8_t> &out, const std::string &text, size_t width);
void setLe16(std::vector<uint8_t> &out, size_t at, uint32_t v);
void setLe32(std::vector<uint8_t> &out, size_t at, uint32_t v);
void padTo16(std::vector<uint8_t> &out);
// S3M and IT share their lettered effects (A speed, T tempo, D slide ...);
// only the lowest tempo each accepts differs.
void letterCommand(const Cell &c, uint8_t minTempo, uint8_t *cmd, uint8_t *info);
// MOD and XM share their numbered effects (F speed and tempo, A slide ...);
// Fx::None gives 0, 0 (MOD then puts a volume into effect C itself).
void numberedCommand(const Cell &c, uint8_t *effect, uint8_t *param);
// Semitone offset (in 1/128 steps of XM finetune) of a rate against a reference.
double semitonesBetween(double rate, double reference);
