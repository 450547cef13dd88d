// Allocation of the track list, once per run.
#include "playfield/track_list.h"
#include "common/start_values.h"
#include <cstdlib>

int16_t *trackCells = nullptr;
int32_t trackValueCount = 0;

bool allocateTrackList() {
  if (trackCells == nullptr) {
    trackCells = static_cast<int16_t *>(std::calloc(TRACK_LIST_CAPACITY, sizeof(int16_t)));
  }
  trackValueCount = 0;
  return trackCells != nullptr;
}

void freeTrackList() {
  std::free(trackCells);
  trackCells = nullptr;
  trackValueCount = 0;
}

// The globals above with the values they start with, for resetGameState.
namespace {
[[maybe_unused]] const bool startValuesKept = keepStartValues(
    trackValueCount);
} // namespace
