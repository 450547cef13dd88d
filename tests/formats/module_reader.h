// Reads generated tracker files back with libopenmpt for the format tests.
#pragma once
#include <libopenmpt/libopenmpt.h>
#include <cmath>
#include <string>
#include <vector>

struct ModuleInfo {
  bool loaded = false;
  std::string type;
  std::string tracker; // the program the loader takes the file to come from
  std::string warnings; // the loader's log and its "warnings" metadata
  double seconds = 0.0;
  int32_t samples = 0, patterns = 0, orders = 0, channels = 0;
};

inline void collectLog(const char *message, void *user) {
  auto *text = static_cast<std::string *>(user);
  *text += message;
  *text += '\n';
}

inline std::string takeString(const char *s) {
  std::string out = s ? s : "";
  openmpt_free_string(s);
  return out;
}

// Opens the module; the caller destroys it. Loader messages go to `log`.
inline openmpt_module *openModule(const std::vector<uint8_t> &bytes, std::string *log) {
  return openmpt_module_create_from_memory2(bytes.data(), bytes.size(), collectLog, log, openmpt_error_func_ignore,
                                            nullptr, nullptr, nullptr, nullptr);
}

inline ModuleInfo readModule(const std::vector<uint8_t> &bytes) {
  ModuleInfo info;
  openmpt_module *mod = openModule(bytes, &info.warnings);
  if (mod == nullptr) {
    return info;
  }
  info.loaded = true;
  info.type = takeString(openmpt_module_get_metadata(mod, "type"));
  info.tracker = takeString(openmpt_module_get_metadata(mod, "tracker"));
  info.warnings += takeString(openmpt_module_get_metadata(mod, "warnings"));
  info.seconds = openmpt_module_get_duration_seconds(mod);
  info.samples = openmpt_module_get_num_samples(mod);
  info.patterns = openmpt_module_get_num_patterns(mod);
  info.orders = openmpt_module_get_num_orders(mod);
  info.channels = openmpt_module_get_num_channels(mod);
  openmpt_module_destroy(mod);
  return info;
}

// Mono mix of `seconds` of output starting at `from`, at 44100 Hz.
inline std::vector<float> renderModule(const std::vector<uint8_t> &bytes, double from, double seconds) {
  std::string log;
  openmpt_module *mod = openModule(bytes, &log);
  std::vector<float> mono;
  if (mod == nullptr) {
    return mono;
  }
  if (from > 0.0) {
    openmpt_module_set_position_seconds(mod, from);
  }
  size_t frames = static_cast<size_t>(seconds * 44100.0);
  std::vector<float> stereo(frames * 2);
  size_t got = openmpt_module_read_interleaved_float_stereo(mod, 44100, frames, stereo.data());
  for (size_t i = 0; i < got; ++i) {
    mono.push_back(0.5f * (stereo[2 * i] + stereo[2 * i + 1]));
  }
  openmpt_module_destroy(mod);
  return mono;
}

inline double rms(const std::vector<float> &v, size_t from = 0, size_t to = SIZE_MAX) {
  to = std::min(to, v.size());
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) {
    sum += static_cast<double>(v[i]) * v[i];
  }
  return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}
