// assetgen --font FILE DATA_DIR [ICON_DIR]: writes the game's pictures, the
// font (a copy of FILE), sounds, tunes and the default settings, and the
// desktop icons into ICON_DIR. Never touches tt.pta or an existing setting.pta.
#include "assetgen.h"
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

bool writeIfChanged(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (old == bytes) {
      return true;
    }
  }
  std::string temp = path + ".tmp";
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

bool makeFolders(const std::string &folder) {
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return std::filesystem::is_directory(folder, ignored);
}

int main(int argc, char **argv) {
  std::string fontFile;
  if (argc >= 3 && std::string(argv[1]) == "--font") {
    fontFile = argv[2];
    argc -= 2;
    argv += 2;
  }
  if (fontFile.empty() || (argc != 2 && argc != 3)) {
    std::fprintf(stderr, "usage: assetgen --font FILE DATA_DIR [ICON_DIR]\n");
    return 2;
  }
  std::string dir = argv[1];
  mkdir(dir.c_str(), 0755);
  bool ok = generatePictures(dir);
  if (argc == 3) {
    ok = generateDesktopIcons(argv[2]) && ok;
  }
  ok = generateFont(dir, fontFile) && ok;
  ok = generateSounds(dir) && ok;
  ok = generateTunes(dir) && ok;
  ok = generateDefaultSettings(dir) && ok;
  return ok ? 0 : 1;
}
