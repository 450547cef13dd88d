// The size a picture file declares, read from its PNG header before anything
// is decoded: a picture far larger than any the game draws would take seconds
// and gigabytes to decode, so it is refused as if it were missing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The largest picture the game draws is 1920 x 1030; nothing above this side.
constexpr int MAX_PICTURE_SIDE = 4096;
// The signature and the IHDR chunk: what is read of a file before decoding.
constexpr size_t PNG_HEADER_LENGTH = 24;

// Width and height from the first bytes of a PNG file; false when they are
// no PNG signature followed by an IHDR chunk.
bool readPngSize(const uint8_t *bytes, size_t size, uint32_t *width, uint32_t *height);
// Whether the picture file may be handed to the decoder: a regular file that
// is a PNG of 1 … MAX_PICTURE_SIDE pixels a side. Otherwise `why` says why.
bool pictureFileFits(const char *path, std::string &why);
