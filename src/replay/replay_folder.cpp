// The replay folder: naming the next file, writing it as the game goes, and
// keeping the newest within the count and size limits.
#include "replay/replay_folder.h"
#include "common/files.h"
#include "replay/replay_file.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

ReplayFolderLimits replayFolderLimits;

namespace {
constexpr const char *PREFIX = "game-";
constexpr const char *SUFFIX = ".replay";
constexpr size_t PREFIX_LENGTH = 5;
constexpr size_t SUFFIX_LENGTH = 7;

uint64_t systemFreeBytes(int fd) {
  struct statvfs fs;
  if (::fstatvfs(fd, &fs) != 0) {
    return UINT64_MAX; // unknown: the writes themselves will tell
  }
  return static_cast<uint64_t>(fs.f_bavail) * static_cast<uint64_t>(fs.f_frsize);
}

std::string pathOf(const std::string &name) { return std::string(replayFolder()) + "/" + name; }

struct OwnReplay {
  uint64_t number;
  uint64_t bytes;
};

// The replays this game wrote, oldest first: its own names, regular files
// (no link), beginning as a replay does. Anything else there is the player's.
std::vector<OwnReplay> ownReplays(std::vector<uint64_t> &allNumbers) {
  std::vector<OwnReplay> own;
  for (const std::string &name : listFolder(replayFolder())) {
    const uint64_t number = replayFileNumber(name);
    if (number == 0 || replayFileName(number) != name) {
      continue;
    }
    allNumbers.push_back(number);
    struct stat st;
    std::vector<uint8_t> start;
    const std::string path = pathOf(name);
    const size_t magic = std::strlen(REPLAY_MAGIC);
    if (::lstat(resolvePath(path.c_str()).c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        readFileStart(path.c_str(), start, magic, UINT64_MAX) && start.size() == magic &&
        std::memcmp(start.data(), REPLAY_MAGIC, magic) == 0) {
      own.push_back(OwnReplay{number, static_cast<uint64_t>(st.st_size)});
    }
  }
  std::sort(own.begin(), own.end(),
            [](const OwnReplay &a, const OwnReplay &b) { return a.number < b.number; });
  return own;
}

// Removes the oldest of the game's own replays (`own`, the new one not among
// them) until they and the new one, of `newBytes`, fit the limits.
void pruneReplays(const std::vector<OwnReplay> &own, uint64_t newBytes) {
  uint64_t bytes = newBytes;
  size_t count = 1;
  for (auto it = own.rbegin(); it != own.rend(); ++it) {
    bytes += it->bytes;
    ++count;
    if (count > replayFolderLimits.count || bytes > replayFolderLimits.bytes) {
      removeFile(pathOf(replayFileName(it->number)).c_str());
    }
  }
}

void fail(ReplayStream &stream, const std::string &why) {
  std::fprintf(stderr, "pelta: the replay %s stops here: %s\n",
               resolvePath(stream.path.c_str()).c_str(), why.c_str());
  ::close(stream.fd);
  stream.fd = -1;
  stream.pending.clear();
}
} // namespace

uint64_t (*freeBytesOf)(int fd) = systemFreeBytes;

const char *replayFolder() { return "replays"; }

std::string replayFileName(uint64_t number) {
  char name[48];
  std::snprintf(name, sizeof name, "%s%06llu%s", PREFIX, static_cast<unsigned long long>(number),
                SUFFIX);
  return name;
}

uint64_t replayFileNumber(const std::string &name) {
  if (name.size() <= PREFIX_LENGTH + SUFFIX_LENGTH || name.compare(0, PREFIX_LENGTH, PREFIX) != 0 ||
      name.compare(name.size() - SUFFIX_LENGTH, SUFFIX_LENGTH, SUFFIX) != 0) {
    return 0;
  }
  const std::string digits =
      name.substr(PREFIX_LENGTH, name.size() - PREFIX_LENGTH - SUFFIX_LENGTH);
  if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  return std::stoull(digits);
}

bool openReplayStream(ReplayStream &stream, const std::string &header) {
  stream = ReplayStream{};
  makeDirectory(replayFolder());
  std::vector<uint64_t> numbers;
  const std::vector<OwnReplay> own = ownReplays(numbers);
  uint64_t next = numbers.empty() ? 1 : *std::max_element(numbers.begin(), numbers.end()) + 1;
  // A name taken meanwhile is skipped: an existing file is never written.
  for (int tries = 0; tries < 100 && stream.fd < 0; ++tries, ++next) {
    stream.path = pathOf(replayFileName(next));
    stream.fd = ::open(resolvePath(stream.path.c_str()).c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (stream.fd < 0 && errno != EEXIST) {
      break;
    }
  }
  if (stream.fd < 0) {
    std::fprintf(stderr, "pelta: the replay of this game could not be written to %s: %s\n",
                 resolvePath(stream.path.c_str()).c_str(), std::strerror(errno));
    return false;
  }
  stream.pending = header;
  if (!flushReplayStream(stream, false)) {
    ::unlink(resolvePath(stream.path.c_str()).c_str()); // not even a header: nothing to keep
    return false;
  }
  pruneReplays(own, stream.written);
  return true;
}

bool flushReplayStream(ReplayStream &stream, bool durable) {
  if (stream.fd < 0) {
    return false;
  }
  if (freeBytesOf(stream.fd) < RESERVED_FREE_BYTES + stream.pending.size()) {
    // Said once a run, however many games start on the full disk.
    reportOnce("replays are no longer written: the disk of " + resolvePath(replayFolder()) +
               " has less than " + std::to_string(RESERVED_FREE_BYTES >> 20) +
               " MiB free, kept for the top ten and the settings");
    ::close(stream.fd);
    stream.fd = -1;
    stream.pending.clear();
    return false;
  }
  const char *data = stream.pending.data();
  size_t left = stream.pending.size();
  while (left > 0) {
    const ssize_t n = fileCalls.write(stream.fd, data, left);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      fail(stream, std::strerror(n < 0 ? errno : EIO));
      return false;
    }
    data += n;
    left -= static_cast<size_t>(n);
    stream.written += static_cast<uint64_t>(n);
  }
  stream.pending.clear();
  if (durable && fileCalls.fsync(stream.fd) != 0) {
    fail(stream, std::strerror(errno));
    return false;
  }
  return true;
}

bool closeReplayStream(ReplayStream &stream) {
  const bool ok = flushReplayStream(stream, true);
  if (stream.fd >= 0) {
    ::close(stream.fd);
    stream.fd = -1;
  }
  return ok;
}

std::string storeReplay(const std::string &text) {
  ReplayStream stream;
  if (!openReplayStream(stream, text)) {
    return "";
  }
  if (!closeReplayStream(stream)) {
    ::unlink(resolvePath(stream.path.c_str()).c_str());
    return "";
  }
  return stream.path;
}
