// The one place where data files are opened, written and renamed.
#include "common/files.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

void (*beforeReplaceHook)() = nullptr;
const FileCalls SYSTEM_FILE_CALLS{::read, ::write, ::fsync, ::rename};
FileCalls fileCalls = SYSTEM_FILE_CALLS;

namespace {
std::string fileRoot;
std::string dataFolder;

bool writeAll(int fd, const uint8_t *data, size_t size) {
  while (size > 0) {
    ssize_t n = fileCalls.write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
} // namespace

void setUserRoot(const std::string &root) { fileRoot = root; }

const std::string &userRoot() { return fileRoot; }

std::string resolvePath(const char *path) {
  if (fileRoot.empty() || path[0] == '/') {
    return path;
  }
  return fileRoot + "/" + path;
}

void setDataFolder(const std::string &folder) { dataFolder = folder; }

std::string dataPath(const char *name) {
  if (dataFolder.empty()) {
    return resolvePath(name);
  }
  const bool underData = std::strncmp(name, "data", 4) == 0 && (name[4] == '/' || name[4] == '\\');
  return dataFolder + "/" + (underData ? name + 5 : name);
}

bool fileExists(const char *path) {
  struct stat st;
  return ::stat(resolvePath(path).c_str(), &st) == 0;
}

namespace {
// Opens a file for reading only when it is a regular file of at most
// maxBytes; -1 otherwise. Non-blocking, so that opening a FIFO returns at
// once (fstat then refuses it); the flag is cleared for the reads.
int openRegularFile(const char *path, size_t maxBytes) {
  int fd = ::open(resolvePath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    return -1;
  }
  struct stat st;
  int why = 0;
  if (::fstat(fd, &st) != 0) {
    why = errno;
  } else if (!S_ISREG(st.st_mode)) {
    why = NOT_A_REGULAR_FILE;
  } else if (static_cast<uint64_t>(st.st_size) > maxBytes) {
    why = EFBIG;
  }
  if (why != 0) {
    ::close(fd);
    errno = why;
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Reads until end of file or `limit` bytes; false on a read error or, when
// `overLimitFails`, on more than `limit` bytes (a file that grew meanwhile).
bool readUpTo(int fd, std::vector<uint8_t> &bytes, size_t limit, bool overLimitFails) {
  uint8_t chunk[65536];
  for (;;) {
    size_t want = sizeof chunk;
    if (!overLimitFails && limit - bytes.size() < want) {
      want = limit - bytes.size();
    }
    if (want == 0) {
      return true;
    }
    ssize_t n = fileCalls.read(fd, chunk, want);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    if (n == 0) {
      return true;
    }
    if (bytes.size() + static_cast<size_t>(n) > limit) {
      errno = EFBIG;
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
}
} // namespace

bool readWholeFile(const char *path, std::vector<uint8_t> &bytes, size_t maxBytes) {
  bytes.clear();
  int fd = openRegularFile(path, maxBytes);
  if (fd < 0) {
    return false;
  }
  bool ok = readUpTo(fd, bytes, maxBytes, true);
  const int why = errno;
  ::close(fd);
  if (!ok) {
    bytes.clear();
    errno = why;
  }
  return ok;
}

bool readFileStart(const char *path, std::vector<uint8_t> &bytes, size_t count, size_t maxBytes) {
  bytes.clear();
  int fd = openRegularFile(path, maxBytes);
  if (fd < 0) {
    return false;
  }
  bool ok = readUpTo(fd, bytes, count, false);
  const int why = errno;
  ::close(fd);
  errno = why;
  return ok;
}

namespace {
// The content written and flushed under a fresh temporary name beside
// `target`, with the permission bits it is to have; "" (errno set) when that
// failed, and then no temporary file is left.
std::string writeTemporaryBeside(const std::string &target, const std::vector<uint8_t> &bytes,
                                 const char *permissionsOf) {
  // mkostemp creates the name exclusively (O_EXCL), so a planted link or an
  // old leftover is never written through; every call gets a fresh name.
  std::string temp = target + ".tmp-XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    return "";
  }
  // The old file's permission bits (a private 0600 file stays private);
  // a new file gets what the umask leaves of 0644.
  struct stat old;
  mode_t mode = 0;
  std::string modeSource = permissionsOf != nullptr ? resolvePath(permissionsOf) : target;
  if (::stat(modeSource.c_str(), &old) == 0) {
    mode = old.st_mode & 0777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0644 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) &&
            fileCalls.fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    const int why = errno;
    ::unlink(temp.c_str());
    errno = why;
    return "";
  }
  return temp;
}

// Makes a rename or link in the folder of `target` itself durable.
void syncFolderOf(const std::string &target) {
  const size_t slash = target.find_last_of('/');
  const std::string folder = target.substr(0, slash == std::string::npos ? 0 : slash);
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fileCalls.fsync(dir);
    ::close(dir);
  }
}
} // namespace

std::string linkTarget(const std::string &path) {
  std::string target = path;
  // A chain of links is followed as the system would, but never forever.
  for (int hops = 0; hops < 40; ++hops) {
    char buffer[4096];
    const ssize_t n = ::readlink(target.c_str(), buffer, sizeof buffer);
    if (n < 0 || static_cast<size_t>(n) >= sizeof buffer) {
      return target;
    }
    const std::string next(buffer, static_cast<size_t>(n));
    const size_t slash = target.find_last_of('/');
    target = next[0] == '/' || slash == std::string::npos ? next : target.substr(0, slash + 1) + next;
  }
  return target;
}

bool replaceFileAtomically(const char *path, const std::vector<uint8_t> &bytes,
                           const char *permissionsOf) {
  // A player's file linked into another folder (a synced one) stays linked:
  // its target is replaced, in the target's own folder.
  const std::string target = linkTarget(resolvePath(path));
  const std::string temp = writeTemporaryBeside(target, bytes, permissionsOf);
  if (temp.empty()) {
    return false;
  }
  if (beforeReplaceHook != nullptr) {
    beforeReplaceHook();
  }
  if (fileCalls.rename(temp.c_str(), target.c_str()) != 0) {
    const int why = errno;
    ::unlink(temp.c_str());
    errno = why;
    return false;
  }
  syncFolderOf(target);
  return true;
}

bool writeNewFile(const char *path, const std::vector<uint8_t> &bytes, const char *permissionsOf) {
  const std::string target = resolvePath(path);
  const std::string temp = writeTemporaryBeside(target, bytes, permissionsOf);
  if (temp.empty()) {
    return false;
  }
  // A link, unlike a rename, fails when the name exists.
  int linked = ::link(temp.c_str(), target.c_str());
  int why = errno;
  if (linked != 0 && (why == EMLINK || why == EPERM || why == ENOSYS || why == EOPNOTSUPP)) {
    // A file system without hard links (a browser's storage, a FAT disk):
    // the name is checked first, so only a start racing this one between
    // the check and the rename could be replaced.
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0) {
      linked = -1;
      why = EEXIST;
    } else {
      linked = ::rename(temp.c_str(), target.c_str());
      why = errno;
    }
  }
  ::unlink(temp.c_str());
  if (linked != 0) {
    errno = why;
    return false;
  }
  syncFolderOf(target);
  return true;
}

bool makeDirectories(const std::string &folder) {
  for (size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    struct stat st;
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 &&
        !(errno == EEXIST && ::stat(part.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) {
      if (errno == EEXIST) {
        errno = ENOTDIR;
      }
      return false;
    }
    if (end == std::string::npos) {
      return true;
    }
  }
}

bool makeDirectory(const char *path) {
  std::string p = resolvePath(path);
  if (::mkdir(p.c_str(), 0700) == 0) { // private, as the user folder that holds it
    return true;
  }
  struct stat st;
  return errno == EEXIST && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> listFolder(const char *path) {
  std::vector<std::string> names;
  DIR *dir = ::opendir(resolvePath(path).c_str());
  if (dir == nullptr) {
    return names;
  }
  while (const dirent *entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  ::closedir(dir);
  return names;
}

std::string readFailureText(int error) {
  if (error == NOT_A_REGULAR_FILE) {
    return "it is not a regular file";
  }
  if (error == EFBIG) {
    return "it is larger than any file the game reads";
  }
  return std::strerror(error);
}

bool isTemporaryName(const std::string &name) {
  const size_t at = name.rfind(".tmp-");
  return at != std::string::npos && at > 0 && name.size() == at + 11;
}

int removeStaleTemporaryFiles(const char *folder, uint32_t startSeconds) {
  int removed = 0;
  for (const std::string &name : listFolder(folder)) {
    const std::string path = resolvePath(folder) + "/" + name;
    struct stat st;
    if (isTemporaryName(name) && ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<uint64_t>(st.st_mtime) < startSeconds && ::unlink(path.c_str()) == 0) {
      ++removed;
    }
  }
  return removed;
}

bool removeFile(const char *path) { return ::unlink(resolvePath(path).c_str()) == 0; }

void reportOnce(const std::string &message) {
  static std::set<std::string> reported;
  if (reported.insert(message).second) {
    std::fprintf(stderr, "pelta: %s\n", message.c_str());
  }
}
