// A tiny raster toolkit for the generated pictures: ARGB images, blending,
// signed-distance shapes with analytic anti-aliasing, and pixel-art grids.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> px; // A8R8G8B8, rows of width
};

struct Vec2 {
  float x, y;
};

Image makeImage(int width, int height, uint32_t fill);
uint32_t pixelAt(const Image &image, int x, int y); // 0 outside the image
void setPixel(Image &image, int x, int y, uint32_t argb);
// Source-over blend of argb, its alpha further scaled by coverage (0..1).
void blendPixel(Image &image, int x, int y, uint32_t argb, float coverage);
void fillRect(Image &image, int left, int top, int right, int bottom, uint32_t argb);

uint32_t mixColour(uint32_t a, uint32_t b, float t); // t = 0 gives a
uint32_t withAlpha(uint32_t argb, float alpha);      // alpha 0..1 replaces the old one
uint32_t scaleRgb(uint32_t argb, float factor);      // brightens (>1) or darkens (<1)
// A colour from a list of (position, colour) stops, positions ascending in 0..1.
uint32_t gradientAt(std::initializer_list<std::pair<float, uint32_t>> stops, float t);
// A small deterministic hash noise in -1..1 for textures.
float hashNoise(int x, int y, uint32_t seed);

// Signed distances in pixels: negative inside.
float sdCircle(Vec2 p, Vec2 centre, float radius);
float sdRoundBox(Vec2 p, Vec2 centre, Vec2 halfSize, float radius);
float sdSegment(Vec2 p, Vec2 a, Vec2 b, float halfWidth);
float sdPolygon(Vec2 p, const std::vector<Vec2> &points);

using DistanceFn = std::function<float(Vec2)>;
using ColourFn = std::function<uint32_t(Vec2)>;
// Blends the shape over the clip box (left, top, right, bottom exclusive):
// coverage comes from the signed distance at each pixel centre.
void paintShape(Image &image, int left, int top, int right, int bottom, const DistanceFn &shape,
                const ColourFn &colour);
void paintShape(Image &image, int left, int top, int right, int bottom, const DistanceFn &shape,
                uint32_t argb);

// Pixel art: rows of characters, each looked up in the palette; characters
// missing from the palette stay untouched. Pixels replace what is below.
using Palette = std::initializer_list<std::pair<char, uint32_t>>;
void drawPixelArt(Image &image, int left, int top, std::initializer_list<const char *> rows,
                  Palette palette);

// Gives every fully transparent pixel the colour of its visible neighbours
// (alpha stays 0), so filtered scaling shows no dark fringe around shapes.
void padTransparentColours(Image &image);
