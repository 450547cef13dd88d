// What recording a game costs per frame: the hooks around a game frame fix
// the frame's keys and append a change when one came; nothing is allocated
// in steady frames (the key list is reserved when the game starts).
#include "common/files.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "replay/replay.h"
#include "scratch_recording.h"
#include "state/screen_state.h"
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <new>

namespace {
uint64_t allocations = 0;
} // namespace

// Every allocation of the program is counted, so a benchmark can show that
// its loop allocates nothing.
void *operator new(size_t size) {
  ++allocations;
  if (void *p = std::malloc(size == 0 ? 1 : size)) {
    return p;
  }
  throw std::bad_alloc();
}
// GCC takes these frees for a mismatch with the new above; they match it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// A busy player: an arrow key goes down or up every 20th frame.
void BM_RecordingHooks(benchmark::State &state) {
  headless::reset();
  const ScratchRecording scratch;
  screenState = Game;
  screenEntryPending = 0;
  recordingEnabled = 1;
  beginReplayFrame(); // the game starts: its lists are reserved here
  endReplayFrame();
  uint64_t frame = 0;
  const uint64_t before = allocations;
  for (auto _ : state) {
    ++frame;
    if (frame % 20 == 0) {
      headless::setKey(VK_RIGHT, frame % 40 == 0);
    }
    beginReplayFrame();
    benchmark::DoNotOptimize(getKeyState(VK_RIGHT));
    endReplayFrame();
  }
  state.counters["allocations"] = static_cast<double>(allocations - before);
  state.counters["keyChanges"] = static_cast<double>(frame / 20);
}
BENCHMARK(BM_RecordingHooks);

} // namespace
