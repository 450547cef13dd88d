// Where the game finds its read-only data and keeps the player's files: the
// data search, the per-user folder, and its first-run set-up.
#pragma once
#include <string>
#include <vector>

struct StartOptions;

// The file whose folder counts as the game data.
constexpr const char *DATA_MARK_FILE = "primitives.pta";

// The data folders to try, in order: --data-dir, $PELTA_DATA_DIR, the
// program's own data/ (the build tree), ../share/pelta/data beside the
// program (an install, wherever its prefix moved) and the folder the build
// compiled in. Relative names count from `workingFolder`, as a shell gave
// them; nothing else depends on it. Empty entries are left out.
std::vector<std::string> dataFolderCandidates(const std::string &option, const char *variable,
                                              const std::string &programFolder,
                                              const std::string &installedFolder,
                                              const std::string &workingFolder);
// The first candidate holding DATA_MARK_FILE as a regular file; "" for none.
std::string findDataFolder(const std::vector<std::string> &candidates);

// The per-user root: --user-dir, else $PELTA_USER_DIR (relative names count
// from `workingFolder`), else $XDG_DATA_HOME/pelta when that is an absolute
// path (the XDG rules ignore a relative one), else `home`/.local/share/pelta;
// "" when none of these is given.
std::string chooseUserRoot(const std::string &option, const char *variable, const char *xdgDataHome,
                           const std::string &home, const std::string &workingFolder);

// Makes the per-user root and its data/ (missing folders private), then
// gives each player file that is missing there its first content: a
// tt.pta or setting.pta found in one of `earlierFolders` (an earlier build's
// data/ beside the program, then the data folder with the default
// settings). An existing per-user file is never replaced. False, after one
// line on stderr, when the folder cannot be made or written: the game then
// runs on, and each write that fails says so.
bool preparePlayerFolder(const std::string &root, const std::vector<std::string> &earlierFolders);

// The folder the build compiled in as the installed data's place.
std::string installedDataFolder();
// The folder holding the running program ("" when it cannot be told).
std::string programFolder();
// The whole start-up choice of folders from the options and the
// environment: the data folder (exit code 1 and one line naming every folder
// tried when there is none) and the prepared per-user root. 0 on success.
int setUpFolders(const StartOptions &options);
