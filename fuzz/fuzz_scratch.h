// A private scratch folder for fuzz targets that go through real files: made
// once per process (in /dev/shm when there is one, so no disk is worn) and
// removed at exit; file paths of the game resolve into it.
#pragma once
#include "common/files.h"
#include <cstdlib>
#include <filesystem>
#include <string>

inline const std::string &fuzzScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/pelta-fuzz-XXXXXX";
    const char *made = mkdtemp(pattern.data());
    std::string path = made != nullptr ? made : "/tmp";
    if (made != nullptr) {
      static std::string toRemove = path;
      std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(toRemove, ignored);
      });
    }
    setUserRoot(path);
    setDataFolder(path + "/data");
    makeDirectory("data");
    return path;
  }();
  return folder;
}
