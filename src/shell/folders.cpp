// The data search, the choice of the per-user root and its first-run set-up.
#include "shell/folders.h"
#include "common/files.h"
#include "common/notices.h"
#include "persistence/file_patch.h"
#include "persistence/settings_file.h"
#include "persistence/top_ten.h"
#include "shell/command_line.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#ifndef PELTA_INSTALLED_DATA_DIR
#define PELTA_INSTALLED_DATA_DIR ""
#endif

namespace {

// An absolute, lexically tidied path: "/usr/bin/../share" as "/usr/share".
std::string absoluteFolder(const std::string &name, const std::string &workingFolder) {
  if (name.empty()) {
    return "";
  }
  std::filesystem::path p = name[0] == '/' ? name : workingFolder + "/" + name;
  std::string tidy = p.lexically_normal().string();
  while (tidy.size() > 1 && tidy.back() == '/') {
    tidy.pop_back();
  }
  return tidy;
}

std::string variableValue(const char *value) { return value != nullptr ? value : ""; }

bool isRegularFile(const std::string &path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string workingFolder() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
}

// $HOME, or the home folder the user database gives when it is unset or empty.
std::string homeFolder() {
  const char *home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') {
    return home;
  }
  const passwd *entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// Copies the first readable one of the earlier folders' files of this name
// to the per-user data/ when that has none; a copy never replaces a file.
void giveFirstContent(const std::string &root, const char *playerFile,
                      const std::vector<std::string> &earlierFolders, bool announce) {
  const std::string target = root + "/" + playerFile;
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0) {
    return;
  }
  const char *name = std::strrchr(playerFile, '/') + 1;
  for (const std::string &folder : earlierFolders) {
    const std::string source = folder + "/" + name;
    std::vector<uint8_t> bytes;
    if (folder.empty() || !readWholeFile(source.c_str(), bytes, PLAYER_FILE_MAX_BYTES)) {
      continue;
    }
    if (writeNewFile(target.c_str(), bytes, source.c_str())) {
      if (announce) {
        std::fprintf(stderr, "pelta: %s copied to %s, where the player's files are now kept\n",
                     source.c_str(), target.c_str());
      }
    } else if (errno != EEXIST) {
      std::fprintf(stderr, "pelta: cannot copy %s to %s: %s\n", source.c_str(), target.c_str(),
                   std::strerror(errno));
    }
    return;
  }
}

} // namespace

std::vector<std::string> dataFolderCandidates(const std::string &option, const char *variable,
                                              const std::string &programFolder,
                                              const std::string &installedFolder,
                                              const std::string &workingFolder) {
  std::vector<std::string> folders;
  for (const std::string &name : {absoluteFolder(option, workingFolder),
                                  absoluteFolder(variableValue(variable), workingFolder)}) {
    if (!name.empty()) {
      folders.push_back(name);
    }
  }
  if (!programFolder.empty()) {
    folders.push_back(absoluteFolder(programFolder + "/data", "/"));
    folders.push_back(absoluteFolder(programFolder + "/../share/pelta/data", "/"));
  }
  if (!installedFolder.empty()) {
    folders.push_back(absoluteFolder(installedFolder, "/"));
  }
  return folders;
}

std::string findDataFolder(const std::vector<std::string> &candidates) {
  for (const std::string &folder : candidates) {
    if (isRegularFile(folder + "/" + DATA_MARK_FILE)) {
      return folder;
    }
  }
  return "";
}

std::string chooseUserRoot(const std::string &option, const char *variable, const char *xdgDataHome,
                           const std::string &home, const std::string &workingFolder) {
  if (!option.empty()) {
    return absoluteFolder(option, workingFolder);
  }
  if (variable != nullptr && variable[0] != '\0') {
    return absoluteFolder(variable, workingFolder);
  }
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
    return absoluteFolder(std::string(xdgDataHome) + "/pelta", "/");
  }
  return home.empty() ? "" : absoluteFolder(home + "/.local/share/pelta", "/");
}

bool preparePlayerFolder(const std::string &root, const std::vector<std::string> &earlierFolders) {
  const std::string lost = "; scores, the saved game and settings will not be kept";
  // Said once, with its real cause; the writes that would fail for it are
  // not tried, so the same cause is not told again and again.
  auto refuse = [](const std::string &why) {
    tellPlayer(why);
    leaveFileAlone(TOP_TEN_FILE);
    leaveFileAlone(SETTINGS_FILE);
    return false;
  };
  if (root.empty()) {
    return refuse("no folder for the player's files (HOME is not set)" + lost);
  }
  const std::string data = root + "/data";
  if (!makeDirectories(data) || ::access(data.c_str(), W_OK) != 0) {
    return refuse("cannot use the folder " + data + ": " + std::strerror(errno) + lost);
  }
  // Only the hall of fame is announced: the settings' first copy is the
  // default one whenever the player never changed a volume.
  giveFirstContent(root, TOP_TEN_FILE, earlierFolders, true);
  giveFirstContent(root, SETTINGS_FILE, earlierFolders, false);
  return true;
}

std::string installedDataFolder() { return PELTA_INSTALLED_DATA_DIR; }

std::string programFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) {
    return "";
  }
  const std::string exe(buffer, static_cast<size_t>(n));
  return exe.substr(0, exe.find_last_of('/'));
}

int setUpFolders(const StartOptions &options) {
  const std::string here = workingFolder();
  const std::string program = programFolder();
  const char *variable = std::getenv("PELTA_DATA_DIR");
  const std::vector<std::string> candidates =
      dataFolderCandidates(options.dataDir, variable, program, installedDataFolder(), here);
  const std::string data = findDataFolder(candidates);
  if (data.empty()) {
    std::string tried;
    for (const std::string &folder : candidates) {
      tried += (tried.empty() ? "" : ", ") + folder;
    }
    std::fprintf(stderr, "pelta: no game data (%s) found in %s\n", DATA_MARK_FILE, tried.c_str());
    return 1;
  }
  // A folder named on purpose that holds no data is worth a word.
  const std::string named = !options.dataDir.empty() ? options.dataDir : variableValue(variable);
  if (!named.empty() && candidates.front() != data) {
    std::fprintf(stderr, "pelta: %s holds no game data; using %s\n", candidates.front().c_str(),
                 data.c_str());
  }
  setDataFolder(data);
  const std::string root = chooseUserRoot(options.userDir, std::getenv("PELTA_USER_DIR"),
                                          std::getenv("XDG_DATA_HOME"), homeFolder(), here);
  // Without a root nothing may land in the working folder: the writes fail
  // instead, each saying so.
  setUserRoot(root.empty() ? "/nonexistent/pelta" : root);
  // Watching a replay writes nothing, not even the first-run set-up.
  if (options.replayFile.empty()) {
    preparePlayerFolder(root, {program.empty() ? "" : program + "/data", data});
  }
  return 0;
}
