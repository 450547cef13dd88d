// The raster toolkit behind the generated pictures.
#include "raster.h"
#include <algorithm>
#include <cmath>

namespace {
float channel(uint32_t c, int shift) { return float((c >> shift) & 0xffu); }
uint32_t pack(float a, float r, float g, float b) {
  auto q = [](float v) { return uint32_t(std::lround(std::clamp(v, 0.0f, 255.0f))); };
  return (q(a) << 24) | (q(r) << 16) | (q(g) << 8) | q(b);
}
float dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
Vec2 sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
} // namespace

Image makeImage(int width, int height, uint32_t fill) {
  Image image;
  image.width = width;
  image.height = height;
  image.px.assign(size_t(width) * size_t(height), fill);
  return image;
}

uint32_t pixelAt(const Image &image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) {
    return 0;
  }
  return image.px[size_t(y) * size_t(image.width) + size_t(x)];
}

void setPixel(Image &image, int x, int y, uint32_t argb) {
  if (x >= 0 && y >= 0 && x < image.width && y < image.height) {
    image.px[size_t(y) * size_t(image.width) + size_t(x)] = argb;
  }
}

void blendPixel(Image &image, int x, int y, uint32_t argb, float coverage) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height || coverage <= 0.0f) {
    return;
  }
  uint32_t &dst = image.px[size_t(y) * size_t(image.width) + size_t(x)];
  float sa = channel(argb, 24) / 255.0f * std::min(coverage, 1.0f);
  float da = channel(dst, 24) / 255.0f;
  float oa = sa + da * (1.0f - sa);
  if (oa <= 0.0f) {
    dst = 0;
    return;
  }
  // Straight (not premultiplied) alpha, as the PNG stores it.
  auto mix = [&](int shift) {
    return (channel(argb, shift) * sa + channel(dst, shift) * da * (1.0f - sa)) / oa;
  };
  dst = pack(oa * 255.0f, mix(16), mix(8), mix(0));
}

void fillRect(Image &image, int left, int top, int right, int bottom, uint32_t argb) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      setPixel(image, x, y, argb);
    }
  }
}

uint32_t mixColour(uint32_t a, uint32_t b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  auto m = [&](int shift) {
    return channel(a, shift) + (channel(b, shift) - channel(a, shift)) * t;
  };
  return pack(m(24), m(16), m(8), m(0));
}

uint32_t withAlpha(uint32_t argb, float alpha) {
  return (argb & 0x00ffffffu) |
         (uint32_t(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f)) << 24);
}

uint32_t scaleRgb(uint32_t argb, float factor) {
  return pack(channel(argb, 24), channel(argb, 16) * factor, channel(argb, 8) * factor,
              channel(argb, 0) * factor);
}

uint32_t gradientAt(std::initializer_list<std::pair<float, uint32_t>> stops, float t) {
  const std::pair<float, uint32_t> *prev = stops.begin();
  if (t <= prev->first) {
    return prev->second;
  }
  for (const auto &stop : stops) {
    if (t <= stop.first) {
      float span = stop.first - prev->first;
      return mixColour(prev->second, stop.second, span > 0.0f ? (t - prev->first) / span : 1.0f);
    }
    prev = &stop;
  }
  return prev->second;
}

float hashNoise(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return float(h & 0xffffu) / 32767.5f - 1.0f;
}

float sdCircle(Vec2 p, Vec2 centre, float radius) {
  return std::hypot(p.x - centre.x, p.y - centre.y) - radius;
}

float sdRoundBox(Vec2 p, Vec2 centre, Vec2 halfSize, float radius) {
  float qx = std::fabs(p.x - centre.x) - halfSize.x + radius;
  float qy = std::fabs(p.y - centre.y) - halfSize.y + radius;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(Vec2 p, Vec2 a, Vec2 b, float halfWidth) {
  Vec2 pa = sub(p, a);
  Vec2 ba = sub(b, a);
  float len2 = dot(ba, ba);
  float h = len2 > 0.0f ? std::clamp(dot(pa, ba) / len2, 0.0f, 1.0f) : 0.0f;
  return std::hypot(pa.x - ba.x * h, pa.y - ba.y * h) - halfWidth;
}

float sdPolygon(Vec2 p, const std::vector<Vec2> &points) {
  // Distance to the nearest edge, negative when an even-odd ray test says inside.
  float best = 1e30f;
  bool inside = false;
  size_t n = points.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    Vec2 a = points[j];
    Vec2 b = points[i];
    best = std::min(best, sdSegment(p, a, b, 0.0f));
    if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) {
      inside = !inside;
    }
  }
  return inside ? -best : best;
}

void paintShape(Image &image, int left, int top, int right, int bottom, const DistanceFn &shape,
                const ColourFn &colour) {
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      Vec2 p{float(x) + 0.5f, float(y) + 0.5f};
      float coverage = std::clamp(0.5f - shape(p), 0.0f, 1.0f);
      if (coverage > 0.0f) {
        blendPixel(image, x, y, colour(p), coverage);
      }
    }
  }
}

void paintShape(Image &image, int left, int top, int right, int bottom, const DistanceFn &shape,
                uint32_t argb) {
  paintShape(image, left, top, right, bottom, shape, [argb](Vec2) { return argb; });
}

void drawPixelArt(Image &image, int left, int top, std::initializer_list<const char *> rows,
                  Palette palette) {
  int y = top;
  for (const char *row : rows) {
    for (int x = 0; row[x] != '\0'; ++x) {
      for (const auto &entry : palette) {
        if (entry.first == row[x]) {
          setPixel(image, left + x, y, entry.second);
          break;
        }
      }
    }
    ++y;
  }
}

void padTransparentColours(Image &image) {
  Image source = image;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if ((pixelAt(source, x, y) >> 24) != 0) {
        continue;
      }
      float r = 0.0f, g = 0.0f, b = 0.0f, weight = 0.0f;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          uint32_t c = pixelAt(source, x + dx, y + dy);
          float a = channel(c, 24);
          r += channel(c, 16) * a;
          g += channel(c, 8) * a;
          b += channel(c, 0) * a;
          weight += a;
        }
      }
      if (weight > 0.0f) {
        setPixel(image, x, y, pack(0.0f, r / weight, g / weight, b / weight));
      }
    }
  }
}
