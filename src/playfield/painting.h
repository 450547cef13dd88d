// The playfield picture: every cell a 2 x 2 pixel block, painted the moment it
// changes; and the track's cells, recoloured and erased as a whole.
#pragma once
#include <cstdint>
#include "platform/sprites.h"

constexpr uint32_t COLOUR_CAPTURED = 0xff006083u;
constexpr uint32_t COLOUR_TRACK = 0xff248623u;
constexpr uint32_t COLOUR_TRACK_SHIELDED = 0xffcdb721u;
constexpr uint32_t COLOUR_TRACK_CRASH = 0xffb43737u;
constexpr uint32_t COLOUR_FREE = 0xff000000u;
constexpr const char *PLAYFIELD_FILE = "data/game.pta";
constexpr int PLAYFIELD_PIXEL_WIDTH = 1920;

extern TextureId playfieldTexture;

// Level start: a fresh picture from the file (or a blank one made in memory
// when the file is missing) and the grid reset.
void setUpPlayfield();
// Paints one cell; only between lockPlayfield and unlockPlayfield.
void paintCell(int32_t x, int32_t y, uint32_t colour);
// Null when there is no picture; painting is then skipped.
uint32_t *lockPlayfield();
void unlockPlayfield();
// Inside a lock: the first pixel row of cell row y and how many cells of that
// row the picture holds (null and 0 outside it); rows a caller painted itself
// through this pointer are reported with markPlayfieldRowsChanged.
uint32_t *lockedPlayfieldRow(int32_t y, int32_t *cellColumns);
int32_t lockedPlayfieldWidth();
void markPlayfieldRowsChanged(int32_t firstCellRow, int32_t lastCellRow);
void drawTrackColumn(int32_t x, int32_t yFrom, int32_t yTo);
void drawTrackRow(int32_t y, int32_t xFrom, int32_t xTo);
void recolourTrackCrash();
void recolourTrackShielded();
void recolourTrackNormal();
void eraseTrack();
