// The playfield picture: loading it per level, painting cells into its pixels,
// and drawing, recolouring and erasing the track.
#include "playfield/painting.h"
#include "playfield/grid.h"
#include "playfield/track_list.h"
#include "presentation/assets.h"
#include "state/game_state.h"
#include <algorithm>

TextureId playfieldTexture = 0;

namespace {
constexpr int BLANK_PICTURE_HEIGHT = 2 * FIELD_HEIGHT; // 1030 pixel rows

// The pixels of the current lock and how many whole cells fit in them: a
// picture smaller than the field is painted only where it has pixels.
uint32_t *lockedPixels = nullptr;
int32_t lockedWidth = 0;
int32_t lockedCellColumns = 0;
int32_t lockedCellRows = 0;
int32_t firstDirtyRow = 0;
int32_t lastDirtyRow = -1;

// A missing picture file must not leave painting without pixels: a picture
// of the field's full size (1920 x 1030) is made in memory, the frame in the
// captured colour.
TextureId makeBlankPlayfield() {
  TextureId texture = createTexture(PLAYFIELD_PIXEL_WIDTH, BLANK_PICTURE_HEIGHT, COLOUR_FREE);
  uint32_t *pixels = lockTexture(texture);
  if (pixels == nullptr) {
    return texture;
  }
  const int frame = 2 * BORDER_WIDTH;
  for (int py = 0; py < BLANK_PICTURE_HEIGHT; ++py) {
    uint32_t *row = pixels + static_cast<size_t>(py) * PLAYFIELD_PIXEL_WIDTH;
    if (py < frame || py >= BLANK_PICTURE_HEIGHT - frame) {
      std::fill(row, row + PLAYFIELD_PIXEL_WIDTH, COLOUR_CAPTURED);
    } else {
      std::fill(row, row + frame, COLOUR_CAPTURED);
      std::fill(row + PLAYFIELD_PIXEL_WIDTH - frame, row + PLAYFIELD_PIXEL_WIDTH, COLOUR_CAPTURED);
    }
  }
  unlockTexture(texture, 0, BLANK_PICTURE_HEIGHT - 1);
  return texture;
}

void paintTrack(uint32_t colour) {
  lockPlayfield();
  for (int32_t i = 0; i + 1 < trackValueCount; i += 2) {
    paintCell(trackCells[i], trackCells[i + 1], colour);
  }
  unlockPlayfield();
}

// Appends a cell to the track list; the list has room for every interior
// cell, and a cell outside the interior is never free, so it cannot fill up.
void appendTrackCell(int32_t x, int32_t y) {
  if (trackCells != nullptr && trackValueCount + 2 <= TRACK_LIST_CAPACITY) {
    trackCells[trackValueCount] = static_cast<int16_t>(x);
    trackCells[trackValueCount + 1] = static_cast<int16_t>(y);
    trackValueCount += 2;
  }
}

void layTrack(int32_t x, int32_t y) {
  uint8_t &cell = cellAt(x, y);
  if (cell == CELL_FREE) {
    cell = CELL_TRACK;
    appendTrackCell(x, y);
    paintCell(x, y, trackShielded ? COLOUR_TRACK_SHIELDED : COLOUR_TRACK);
  }
}
} // namespace

void setUpPlayfield() {
  if (playfieldTexture != 0) {
    releaseTexture(playfieldTexture);
  }
  playfieldTexture = loadPicture(PLAYFIELD_FILE);
  if (playfieldTexture == 0) {
    playfieldTexture = makeBlankPlayfield();
  }
  resetPlayfieldGrid();
  trackValueCount = 0;
}

uint32_t *lockPlayfield() {
  lockedPixels = lockTexture(playfieldTexture);
  int width = 0;
  int height = 0;
  if (lockedPixels == nullptr || !textureSize(playfieldTexture, &width, &height)) {
    lockedPixels = nullptr;
    width = 0;
    height = 0;
  }
  lockedWidth = width;
  lockedCellColumns = std::min(width / 2, FIELD_WIDTH);
  lockedCellRows = std::min(height / 2, FIELD_HEIGHT);
  firstDirtyRow = height;
  lastDirtyRow = -1;
  return lockedPixels;
}

void unlockPlayfield() {
  if (lockedPixels != nullptr) {
    unlockTexture(playfieldTexture, firstDirtyRow, lastDirtyRow);
  }
  lockedPixels = nullptr;
}

void markPlayfieldRowsChanged(int32_t firstCellRow, int32_t lastCellRow) {
  firstDirtyRow = std::min(firstDirtyRow, 2 * firstCellRow);
  lastDirtyRow = std::max(lastDirtyRow, 2 * lastCellRow + 1);
}

void paintCell(int32_t x, int32_t y, uint32_t colour) {
  if (lockedPixels == nullptr || x < 0 || y < 0 || x >= lockedCellColumns || y >= lockedCellRows) {
    return;
  }
  uint32_t *p = lockedPixels + static_cast<size_t>(2 * y) * lockedWidth + 2 * x;
  p[0] = colour;
  p[1] = colour;
  p[lockedWidth] = colour;
  p[lockedWidth + 1] = colour;
  markPlayfieldRowsChanged(y, y);
}

uint32_t *lockedPlayfieldRow(int32_t y, int32_t *cellColumns) {
  if (lockedPixels == nullptr || y < 0 || y >= lockedCellRows) {
    *cellColumns = 0;
    return nullptr;
  }
  *cellColumns = lockedCellColumns;
  return lockedPixels + static_cast<size_t>(2 * y) * lockedWidth;
}

int32_t lockedPlayfieldWidth() { return lockedWidth; }

void drawTrackColumn(int32_t x, int32_t yFrom, int32_t yTo) {
  // The guard ring is never written, whatever a caller passes.
  if (x < 0 || x >= FIELD_WIDTH) {
    return;
  }
  yFrom = std::max(yFrom, 0);
  yTo = std::min(yTo, FIELD_HEIGHT);
  lockPlayfield();
  for (int32_t y = yFrom; y < yTo; ++y) {
    layTrack(x, y);
  }
  unlockPlayfield();
}

void drawTrackRow(int32_t y, int32_t xFrom, int32_t xTo) {
  if (y < 0 || y >= FIELD_HEIGHT) {
    return;
  }
  xFrom = std::max(xFrom, 0);
  xTo = std::min(xTo, FIELD_WIDTH);
  lockPlayfield();
  for (int32_t x = xFrom; x < xTo; ++x) {
    layTrack(x, y);
  }
  unlockPlayfield();
}

void recolourTrackCrash() {
  if (trackValueCount != 0) {
    paintTrack(COLOUR_TRACK_CRASH);
  }
}

void recolourTrackShielded() {
  if (trackValueCount != 0) {
    paintTrack(COLOUR_TRACK_SHIELDED);
  }
}

void recolourTrackNormal() {
  if (trackValueCount != 0) {
    paintTrack(COLOUR_TRACK);
  }
}

void eraseTrack() {
  if (trackValueCount == 0) {
    return;
  }
  lockPlayfield();
  for (int32_t i = 0; i + 1 < trackValueCount; i += 2) {
    int32_t x = trackCells[i];
    int32_t y = trackCells[i + 1];
    cellAt(x, y) = CELL_FREE;
    paintCell(x, y, COLOUR_FREE);
  }
  unlockPlayfield();
  trackValueCount = 0;
}
