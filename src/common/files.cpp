// The one place where data files are opened, written and renamed.
#include "common/files.h"
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

void (*beforeReplaceHook)() = nullptr;

namespace {
std::string fileRoot;

bool writeAll(int fd, const uint8_t *data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
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

void setFileRoot(const std::string &root) { fileRoot = root; }

std::string resolvePath(const char *path) {
  if (fileRoot.empty() || path[0] == '/') {
    return path;
  }
  return fileRoot + "/" + path;
}

bool fileExists(const char *path) {
  struct stat st;
  return ::stat(resolvePath(path).c_str(), &st) == 0;
}

bool readWholeFile(const char *path, std::vector<uint8_t> &bytes) {
  bytes.clear();
  int fd = ::open(resolvePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  uint8_t chunk[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      ok = false;
      break;
    }
    if (n == 0) {
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  return ok;
}

bool replaceFileAtomically(const char *path, const std::vector<uint8_t> &bytes) {
  std::string target = resolvePath(path);
  std::string temp = target + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  bool ok = writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && beforeReplaceHook != nullptr) {
    beforeReplaceHook();
  }
  if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable.
  std::string folder = target.substr(0, target.find_last_of('/') == std::string::npos
                                            ? 0
                                            : target.find_last_of('/'));
  int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool makeDirectory(const char *path) {
  std::string p = resolvePath(path);
  if (::mkdir(p.c_str(), 0755) == 0) {
    return true;
  }
  struct stat st;
  return errno == EEXIST && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void reportOnce(const std::string &message) {
  static std::set<std::string> reported;
  if (reported.insert(message).second) {
    std::fprintf(stderr, "pelta: %s\n", message.c_str());
  }
}
