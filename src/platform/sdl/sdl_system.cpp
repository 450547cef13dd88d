// Timer, single-instance guard, window events and the message box on SDL and
// POSIX (the keys and pads are sdl_input.cpp's). The guard is a lock file
// with a socket beside it in a folder only this user can reach: the holder of
// the lock listens on the socket; a second start finds the lock taken,
// connects (with a time limit), asks for a raise and exits.
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_state.h"
#include "platform/system.h"
#include "platform/timer.h"
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
int instanceLock = -1;
int instanceSocket = -1;
std::string instanceSocketPath;
volatile sig_atomic_t quitSignal = 0;
// How long a second start waits for the first to take its raise request.
constexpr int RAISE_TIMEOUT_MS = 2000;

void onQuitSignal(int) { quitSignal = 1; }

// False when the path does not fit a socket address.
bool makeAddress(const std::string &path, sockaddr_un *addr) {
  std::memset(addr, 0, sizeof *addr);
  addr->sun_family = AF_UNIX;
  if (path.size() >= sizeof addr->sun_path) {
    return false;
  }
  std::memcpy(addr->sun_path, path.c_str(), path.size());
  return true;
}

bool ownPeer(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == getuid();
}

// Asks the copy holding the lock to raise its window. The connect and the
// write never wait longer than RAISE_TIMEOUT_MS, and only a listener of this
// user is told anything.
bool askForRaise(const std::string &socketPath) {
  sockaddr_un addr;
  if (!makeAddress(socketPath, &addr)) {
    return false;
  }
  int c = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (c < 0) {
    return false;
  }
  bool connected = connect(c, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
  if (!connected && errno == EINPROGRESS) {
    pollfd p{c, POLLOUT, 0};
    int error = 0;
    socklen_t size = sizeof error;
    connected = poll(&p, 1, RAISE_TIMEOUT_MS) == 1 &&
                getsockopt(c, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
  }
  bool told = false;
  if (connected && ownPeer(c)) {
    const char msg[] = "raise";
    told = send(c, msg, sizeof msg - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof msg - 1);
  }
  close(c);
  return told;
}

// Listens on the raise socket; the lock is held, so a socket file left there
// is a dead copy's and is replaced.
void listenForRaises(const std::string &socketPath) {
  sockaddr_un addr;
  if (!makeAddress(socketPath, &addr)) {
    std::fprintf(stderr, "pelta: %s is too long a name for a socket; a second start cannot raise "
                         "this window\n", socketPath.c_str());
    return;
  }
  unlink(socketPath.c_str());
  int s = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) {
    return;
  }
  const mode_t mask = umask(0177); // the socket is this user's alone
  const bool bound = bind(s, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
  umask(mask);
  if (!bound || listen(s, 4) != 0) {
    std::fprintf(stderr, "pelta: cannot listen on %s: %s; a second start cannot raise this "
                         "window\n", socketPath.c_str(), std::strerror(errno));
    close(s);
    return;
  }
  instanceSocket = s;
  instanceSocketPath = socketPath;
}
} // namespace

void installQuitHandlers() {
  struct sigaction sa {};
  sa.sa_handler = onQuitSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

uint32_t timeGetTime() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms =
      static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

uint64_t timeMicroseconds() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

void sleepMilliseconds(uint32_t ms) {
  timespec ts{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR && !quitSignal) {
  }
}

uint32_t calendarTimeSeconds() { return static_cast<uint32_t>(std::time(nullptr)); }

bool acquireSingleInstance(const char *name) {
  const std::string lockPath = std::string(name) + ".lock";
  const std::string socketPath = std::string(name) + ".socket";
  int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
  if (fd < 0) {
    std::fprintf(stderr, "pelta: cannot open %s: %s; a second copy of the game would not be "
                         "kept out\n", lockPath.c_str(), std::strerror(errno));
    return true; // no guard possible; run anyway
  }
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) {
      continue;
    }
    const int why = errno;
    close(fd);
    if (why != EWOULDBLOCK) {
      std::fprintf(stderr, "pelta: cannot lock %s: %s; a second copy of the game would not be "
                           "kept out\n", lockPath.c_str(), std::strerror(why));
      return true;
    }
    if (!askForRaise(socketPath)) {
      std::fputs("pelta: another copy runs but did not answer the request to raise its "
                 "window\n", stderr);
    }
    return false;
  }
  instanceLock = fd;
  listenForRaises(socketPath);
  return true;
}

void releaseSingleInstance() {
  // The socket file goes while the lock is still held, so it can never be
  // the next holder's.
  if (instanceSocket >= 0) {
    close(instanceSocket);
    unlink(instanceSocketPath.c_str());
    instanceSocket = -1;
  }
  if (instanceLock >= 0) {
    close(instanceLock);
    instanceLock = -1;
  }
}

WindowEvent pollWindowEvent() {
  if (quitSignal) {
    quitSignal = 0;
    return WindowEvent::Quit;
  }
  if (instanceSocket >= 0) {
    int c = accept4(instanceSocket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (c >= 0) {
      const bool own = ownPeer(c);
      close(c);
      if (own) {
        return WindowEvent::RaiseRequest;
      }
    }
  }
  SDL_Event e;
  while (SDL_WasInit(SDL_INIT_VIDEO) && SDL_PollEvent(&e)) {
    switch (e.type) {
    case SDL_QUIT:
      return WindowEvent::Quit;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        return WindowEvent::Activated;
      }
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        keyboardFocusLost();
        return WindowEvent::Deactivated;
      }
      if (e.window.event == SDL_WINDOWEVENT_MOVED || e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        sdl::windowPlaced();
      }
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        return WindowEvent::Quit;
      }
      break;
    default:
      if (WindowEvent told = takeInputEvent(e); told != WindowEvent::None) {
        return told;
      }
      break;
    }
  }
  return WindowEvent::None;
}

void runMainLoop(bool (*pass)(), void (*finish)()) {
  while (pass()) {
  }
  finish();
}

bool loopPacedByDisplay() { return false; }

bool endMayBeCutShort() { return false; }

void showMessageBox(const char *caption, const char *text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  // Over the game's window when there is one, so a full screen cannot hide it.
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, sdl::window);
}
