#include <gtest/gtest.h>
#include <numeric>
#include "playfield/capture.h"
#include "playfield_helpers.h"

namespace {
uint64_t pictureChecksum() {
  int width = 0;
  int height = 0;
  textureSize(playfieldTexture, &width, &height);
  const uint32_t *p = lockTexture(playfieldTexture);
  uint64_t sum = 0;
  for (int i = 0; i < width * height; ++i) {
    sum = sum * 31 + p[i];
  }
  return sum;
}
} // namespace

TEST(Painting, MissingPictureIsMadeInMemoryWithFrameAndBlackInterior) {
  freshField(); // the headless backend has no picture files
  ASSERT_NE(playfieldTexture, 0);
  int width = 0;
  int height = 0;
  ASSERT_TRUE(textureSize(playfieldTexture, &width, &height));
  EXPECT_EQ(width, 1920);
  EXPECT_EQ(height, 1030);
  EXPECT_TRUE(cellPainted(14, 100, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(15, 100, COLOUR_FREE));
  EXPECT_TRUE(cellPainted(944, 499, COLOUR_FREE));
  EXPECT_TRUE(cellPainted(945, 499, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(500, 500, COLOUR_CAPTURED));
  EXPECT_TRUE(cellPainted(500, 14, COLOUR_CAPTURED));
  // A new level replaces the picture rather than adding one.
  const int before = headless::texturesCreated();
  setUpPlayfield();
  EXPECT_EQ(headless::texturesCreated(), before + 1);
  EXPECT_TRUE(cellPainted(15, 100, COLOUR_FREE));
}

TEST(Painting, TrackLinesTakeOnlyFreeCellsInOrder) {
  freshField();
  cellAt(300, 202) = CELL_CAPTURED;
  drawTrackColumn(300, 200, 205);
  EXPECT_EQ(trackValueCount, 8);
  const int16_t expected[] = {300, 200, 300, 201, 300, 203, 300, 204};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(trackCells[i], expected[i]) << i;
  }
  EXPECT_EQ(cellAt(300, 202), CELL_CAPTURED);
  EXPECT_TRUE(cellPainted(300, 202, COLOUR_FREE)); // a captured cell is not repainted here
  EXPECT_EQ(cellAt(300, 204), CELL_TRACK);
  EXPECT_TRUE(cellPainted(300, 204, COLOUR_TRACK));
  EXPECT_TRUE(cellPainted(300, 205, COLOUR_FREE)); // yTo is not included
  // Drawing over track already laid adds nothing.
  drawTrackColumn(300, 200, 205);
  EXPECT_EQ(trackValueCount, 8);

  trackShielded = 1;
  drawTrackRow(210, 400, 405);
  EXPECT_EQ(trackValueCount, 18);
  EXPECT_EQ(trackCells[8], 400);
  EXPECT_EQ(trackCells[9], 210);
  EXPECT_TRUE(cellPainted(404, 210, COLOUR_TRACK_SHIELDED));
  EXPECT_TRUE(cellPainted(405, 210, COLOUR_FREE));
  // The frame is captured, so a line there lays nothing.
  drawTrackRow(5, 100, 105);
  EXPECT_EQ(trackValueCount, 18);
}

TEST(Painting, RecolourAndEraseTheWholeTrack) {
  freshField();
  layTrackRect(300, 200, 309, 204);
  recolourTrackShielded();
  EXPECT_TRUE(cellPainted(300, 200, COLOUR_TRACK_SHIELDED));
  EXPECT_TRUE(cellPainted(309, 204, COLOUR_TRACK_SHIELDED));
  recolourTrackNormal();
  EXPECT_TRUE(cellPainted(305, 202, COLOUR_TRACK));
  recolourTrackCrash();
  EXPECT_TRUE(cellPainted(300, 200, COLOUR_TRACK_CRASH));
  EXPECT_TRUE(cellPainted(309, 204, COLOUR_TRACK_CRASH));
  EXPECT_TRUE(cellPainted(310, 204, COLOUR_FREE));
  eraseTrack();
  EXPECT_EQ(trackValueCount, 0);
  EXPECT_EQ(cellAt(300, 200), CELL_FREE);
  EXPECT_EQ(cellAt(309, 204), CELL_FREE);
  EXPECT_TRUE(cellPainted(300, 200, COLOUR_FREE));
  EXPECT_TRUE(cellPainted(309, 204, COLOUR_FREE));
}

TEST(Painting, EmptyTrackLeavesThePictureUntouched) {
  freshField();
  const uint64_t before = pictureChecksum();
  recolourTrackCrash();
  recolourTrackShielded();
  recolourTrackNormal();
  eraseTrack();
  EXPECT_EQ(pictureChecksum(), before);
  EXPECT_EQ(trackValueCount, 0);
}

TEST(Painting, NeverWritesOutsideAPictureSmallerThanTheField) {
  freshField();
  releaseTexture(playfieldTexture);
  playfieldTexture = createTexture(101, 61, 0xff123456u); // odd sizes on purpose
  drawTrackColumn(20, 20, 40);                            // partly inside, partly below the picture
  drawTrackRow(25, 40, 900);
  recolourTrackCrash();
  EXPECT_EQ(cellAt(20, 39), CELL_TRACK);
  EXPECT_EQ(cellAt(899, 25), CELL_TRACK);
  EXPECT_EQ(pixelAt(40, 40), COLOUR_TRACK_CRASH);
  EXPECT_EQ(pixelAt(100, 50), 0xff123456u); // the odd last column is not a cell
  level = 1;
  putEnemy(whiteEnemies[0], 700, 400, DIR_DOWN_RIGHT);
  markWhiteEnemyRegions();
  captureEnclosedAreas();
  EXPECT_EQ(pixelAt(60, 50), COLOUR_CAPTURED);
  EXPECT_EQ(cellAt(899, 25), CELL_CAPTURED);

  // No picture at all: the grid still changes, nothing is painted.
  releaseTexture(playfieldTexture);
  playfieldTexture = 0;
  resetPlayfieldGrid();
  drawTrackColumn(600, 300, 305);
  EXPECT_EQ(cellAt(600, 304), CELL_TRACK);
  recolourTrackShielded();
  eraseTrack();
  EXPECT_EQ(cellAt(600, 304), CELL_FREE);
}

// Lines running past the field, along it or across it at either end, lay
// track only on the free interior cells they cross, never in the guard ring
// (or the spare row below it).
TEST(Painting, GuardRingIsNeverWritten) {
  const struct {
    bool column;
    int32_t at, from, to;
    int32_t cellsLaid;
  } lines[] = {
      {true, -1, 0, 515, 0},    {true, 960, -1, 516, 0},    {true, 500, -1, 516, 485},
      {true, 0, -1, 517, 0},    {true, 959, -5, 600, 0},    {false, -1, -1, 961, 0},
      {false, 515, 0, 960, 0},  {false, 200, -1, 961, 930}, {false, 0, -3, 970, 0},
      {false, 514, -1, 961, 0},
  };
  for (const auto &line : lines) {
    freshField();
    if (line.column) {
      drawTrackColumn(line.at, line.from, line.to);
    } else {
      drawTrackRow(line.at, line.from, line.to);
    }
    EXPECT_EQ(trackValueCount, 2 * line.cellsLaid) << (line.column ? "column " : "row ") << line.at;
    for (int x = -1; x <= 960; ++x) {
      ASSERT_EQ(cellAt(x, -1), CELL_FREE);
      ASSERT_EQ(cellAt(x, 515), CELL_FREE);
      ASSERT_EQ(cellAt(x, 516), CELL_FREE);
    }
    for (int y = -1; y <= 515; ++y) {
      ASSERT_EQ(cellAt(-1, y), CELL_FREE);
      ASSERT_EQ(cellAt(960, y), CELL_FREE);
    }
  }
}
