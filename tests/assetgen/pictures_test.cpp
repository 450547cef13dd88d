// The generated pictures: sprite sheet rectangles, flash glows, playfield
// frame, logo box, window icon, the raster toolkit and the PNG encoding.
#include "assetgen.h"
#include "pictures.h"
#include <cstring>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {
int alphaOf(uint32_t c) { return int(c >> 24); }
int red(uint32_t c) { return int((c >> 16) & 0xff); }
int green(uint32_t c) { return int((c >> 8) & 0xff); }
int blue(uint32_t c) { return int(c & 0xff); }
float lightness(uint32_t c) { return float(red(c) * 3 + green(c) * 6 + blue(c)) / 2550.0f; }

const SheetRect &rectNamed(const char *name) {
  for (int i = 0; i < SHEET_RECT_COUNT; ++i) {
    if (std::strcmp(SHEET_RECTS[i].name, name) == 0) {
      return SHEET_RECTS[i];
    }
  }
  ADD_FAILURE() << "no rectangle " << name;
  return SHEET_RECTS[0];
}

// Mean over a rectangle's visible pixels of a per-pixel measure.
template <typename F> float meanVisible(const Image &img, const SheetRect &r, F measure) {
  float sum = 0.0f;
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (alphaOf(pixelAt(img, x, y)) > 128) {
        sum += measure(pixelAt(img, x, y));
        ++n;
      }
    }
  }
  return n > 0 ? sum / float(n) : 0.0f;
}

float redness(uint32_t c) { return float(red(c) - (green(c) + blue(c)) / 2) / 255.0f; }

// Reads back an 8-bit RGBA PNG without filters, as encodePng writes it.
bool decodePng(const std::vector<uint8_t> &png, int *w, int *h, std::vector<uint32_t> *argb) {
  static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || std::memcmp(png.data(), SIGNATURE, 8) != 0) {
    return false;
  }
  auto be32 = [&](size_t at) {
    return uint32_t(png[at]) << 24 | uint32_t(png[at + 1]) << 16 | uint32_t(png[at + 2]) << 8 |
           png[at + 3];
  };
  std::vector<uint8_t> packed;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t len = be32(at);
    if (at + 12 + len > png.size()) {
      return false;
    }
    std::string type(reinterpret_cast<const char *>(&png[at + 4]), 4);
    const uint8_t *data = &png[at + 8];
    if (crc32(crc32(0L, nullptr, 0), &png[at + 4], len + 4) != be32(at + 8 + len)) {
      return false;
    }
    if (type == "IHDR") {
      *w = int(be32(at + 8));
      *h = int(be32(at + 12));
      if (data[8] != 8 || data[9] != 6) {
        return false;
      }
    } else if (type == "IDAT") {
      packed.insert(packed.end(), data, data + len);
    }
    at += 12 + len;
  }
  uLongf rawSize = uLongf(*h) * uLongf(1 + *w * 4);
  std::vector<uint8_t> raw(rawSize);
  if (uncompress(raw.data(), &rawSize, packed.data(), uLong(packed.size())) != Z_OK ||
      rawSize != raw.size()) {
    return false;
  }
  argb->clear();
  for (int y = 0; y < *h; ++y) {
    const uint8_t *row = &raw[size_t(y) * size_t(1 + *w * 4)];
    if (row[0] != 0) {
      return false;
    }
    for (int x = 0; x < *w; ++x) {
      const uint8_t *p = row + 1 + x * 4;
      argb->push_back(uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
    }
  }
  return true;
}
} // namespace

TEST(SpriteSheet, EveryRectangleHoldsAPictureAndNothingBleedsPastIt) {
  Image sheet = makeSpriteSheet();
  ASSERT_EQ(sheet.width, SHEET_WIDTH);
  ASSERT_EQ(sheet.height, SHEET_HEIGHT);
  for (int i = 0; i < SHEET_RECT_COUNT; ++i) {
    const SheetRect &r = SHEET_RECTS[i];
    SCOPED_TRACE(r.name);
    ASSERT_GE(r.left, 1);
    ASSERT_GE(r.top, 1);
    ASSERT_LT(r.right, SHEET_WIDTH);
    ASSERT_LT(r.bottom, SHEET_HEIGHT);
    int visible = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        visible += alphaOf(pixelAt(sheet, x, y)) > 0 ? 1 : 0;
      }
    }
    EXPECT_GT(visible, (r.right - r.left) * (r.bottom - r.top) / 3);
    // The one-pixel ring outside is transparent, and no other rectangle reaches into it.
    for (int y = r.top - 1; y <= r.bottom; ++y) {
      for (int x = r.left - 1; x <= r.right; ++x) {
        bool ring = x < r.left || y < r.top || x >= r.right || y >= r.bottom;
        if (ring) {
          EXPECT_EQ(alphaOf(pixelAt(sheet, x, y)), 0) << "at " << x << "," << y;
        }
        for (int j = 0; j < SHEET_RECT_COUNT; ++j) {
          const SheetRect &o = SHEET_RECTS[j];
          if (j != i) {
            EXPECT_FALSE(x >= o.left && x < o.right && y >= o.top && y < o.bottom)
                << o.name << " touches at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(SpriteSheet, SpritesReadAsWhatTheyAre) {
  Image sheet = makeSpriteSheet();
  const SheetRect &player = rectNamed("player");
  for (int y = player.top; y < player.bottom; ++y) {
    for (int x = player.left; x < player.right; ++x) {
      uint32_t c = pixelAt(sheet, x, y);
      EXPECT_EQ(alphaOf(c), 255);
      EXPECT_GE(std::min({red(c), green(c), blue(c)}), 0xc0) << "at " << x << "," << y;
    }
  }
  // Crashed pictures are clearly redder than the live ones.
  const char *pairs[3][2] = {{"player", "crashed player"},
                             {"white enemy", "crashed white enemy"},
                             {"black enemy", "crashed black enemy"}};
  for (auto &pair : pairs) {
    SCOPED_TRACE(pair[1]);
    EXPECT_GT(meanVisible(sheet, rectNamed(pair[1]), redness),
              meanVisible(sheet, rectNamed(pair[0]), redness) + 0.25f);
  }
  // The black enemy is dark, but carries a light rim so it shows on captured
  // blue and on the frame.
  const SheetRect &black = rectNamed("black enemy");
  EXPECT_LT(meanVisible(sheet, black, lightness), 0.4f);
  int lightRim = 0;
  for (int x = black.left + 1; x < black.right - 1; ++x) {
    lightRim += lightness(pixelAt(sheet, x, black.top)) > 0.7f ? 1 : 0;
  }
  EXPECT_GE(lightRim, 6);
  EXPECT_GT(meanVisible(sheet, rectNamed("white enemy"), lightness), 0.6f);
  // The track picture shows the game's own track colour.
  const SheetRect &track = rectNamed("track icon");
  EXPECT_EQ(pixelAt(sheet, (track.left + track.right) / 2, track.top + 5), 0xff248623u);
}

TEST(SpriteSheet, FlashesOnlyBrightenAndGlowTowardTheEnemy) {
  Image sheet = makeSpriteSheet();
  for (int i = 0; i < SHEET_RECT_COUNT; ++i) {
    const SheetRect &r = SHEET_RECTS[i];
    if (r.part != SheetPart::Flash) {
      continue;
    }
    SCOPED_TRACE(r.name);
    // White everywhere, even where transparent (ring included): the flash
    // blend multiplies by the colour, so anything darker would dim the field.
    for (int y = r.top - 1; y <= r.bottom; ++y) {
      for (int x = r.left - 1; x <= r.right; ++x) {
        EXPECT_EQ(pixelAt(sheet, x, y) & 0xffffffu, 0xffffffu) << "at " << x << "," << y;
      }
    }
  }
  auto brightestAt = [&](const char *name, int dx, int dy) {
    const SheetRect &r = rectNamed(name);
    int best = -1, bx = 0, by = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        if (alphaOf(pixelAt(sheet, x, y)) > best) {
          best = alphaOf(pixelAt(sheet, x, y));
          bx = x - r.left;
          by = y - r.top;
        }
      }
    }
    EXPECT_EQ(bx, dx) << name;
    EXPECT_EQ(by, dy) << name;
  };
  brightestAt("flash corner SE", 0, 0);
  brightestAt("flash corner NE", 0, 4);
  brightestAt("flash corner SW", 4, 0);
  brightestAt("flash corner NW", 4, 4);
  auto edgeStronger = [&](const char *name, int nearX, int nearY, int farX, int farY) {
    const SheetRect &r = rectNamed(name);
    EXPECT_GT(alphaOf(pixelAt(sheet, r.left + nearX, r.top + nearY)),
              alphaOf(pixelAt(sheet, r.left + farX, r.top + farY)) + 100)
        << name;
  };
  edgeStronger("flash bar below", 5, 0, 5, 2);
  edgeStronger("flash bar above", 5, 2, 5, 0);
  edgeStronger("flash bar right", 0, 5, 2, 5);
  edgeStronger("flash bar left", 2, 5, 0, 5);
}

TEST(Playfield, BlackInteriorInsideAThirtyPixelFrame) {
  Image field = makePlayfield();
  ASSERT_EQ(field.width, 1920);
  ASSERT_EQ(field.height, 1030);
  long frameR = 0, frameG = 0, frameB = 0, framePixels = 0;
  for (int y = 0; y < field.height; ++y) {
    for (int x = 0; x < field.width; ++x) {
      uint32_t c = field.px[size_t(y) * 1920 + size_t(x)];
      bool interior = x >= 30 && x < 1890 && y >= 30 && y < 1000;
      if (interior) {
        ASSERT_EQ(c, 0xff000000u) << "at " << x << "," << y;
      } else {
        ASSERT_EQ(alphaOf(c), 255) << "at " << x << "," << y;
        ASSERT_GT(lightness(c), 0.08f) << "frame pixel too close to black at " << x << "," << y;
        ASSERT_NE(c, 0xff006083u);
        frameR += red(c);
        frameG += green(c);
        frameB += blue(c);
        ++framePixels;
      }
    }
  }
  // On average the frame stays well apart from the captured blue.
  long dr = frameR / framePixels - 0x00, dg = frameG / framePixels - 0x60,
       db = frameB / framePixels - 0x83;
  EXPECT_GT(dr * dr + dg * dg + db * db, 60 * 60);
}

TEST(Logo, FitsItsBoxAndIsNotBlank) {
  Image logo = makeLogo();
  ASSERT_LE(logo.width, 1120);
  ASSERT_LE(logo.height, 240);
  long opaque = 0;
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) {
      uint32_t c = logo.px[size_t(y) * size_t(logo.width) + size_t(x)];
      opaque += alphaOf(c) == 255 ? 1 : 0;
      // Nothing cut off at the edges of the picture.
      if (x == 0 || y == 0 || x == logo.width - 1 || y == logo.height - 1) {
        ASSERT_EQ(alphaOf(c), 0) << "at " << x << "," << y;
      }
    }
  }
  EXPECT_GT(opaque, long(logo.width) * logo.height / 5);
  // The name is centred, so that drawn at x 400 it sits in the middle of the screen.
  int left = logo.width, right = 0;
  for (int y = 0; y < logo.height; ++y) {
    for (int x = 0; x < logo.width; ++x) {
      if (alphaOf(logo.px[size_t(y) * size_t(logo.width) + size_t(x)]) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  EXPECT_NEAR(left + right, logo.width, 40);
}

// The desktop's larger icons are the window icon's picture: each 64th of
// them averages to the window icon's pixel there (a part left unscaled
// would land elsewhere and differ).
TEST(WindowIcon, LargerIconsAreTheSamePicture) {
  const Image icon = makeWindowIcon();
  ASSERT_EQ(icon.width, ICON_SIZE);
  ASSERT_EQ(icon.height, ICON_SIZE);
  EXPECT_EQ(alphaOf(pixelAt(icon, 32, 32)), 255);
  for (int size : {128, 256}) {
    const Image big = makeWindowIcon(size);
    ASSERT_EQ(big.width, size);
    ASSERT_EQ(big.height, size);
    const int k = size / ICON_SIZE;
    int differing = 0;
    for (int y = 0; y < ICON_SIZE; ++y) {
      for (int x = 0; x < ICON_SIZE; ++x) {
        // Colours weighted by their alpha, so a transparent pixel's colour counts for nothing.
        int sum[3] = {0, 0, 0};
        for (int dy = 0; dy < k; ++dy) {
          for (int dx = 0; dx < k; ++dx) {
            const uint32_t c = pixelAt(big, x * k + dx, y * k + dy);
            for (int ch = 0; ch < 3; ++ch) {
              sum[ch] += int((c >> (8 * ch)) & 0xff) * alphaOf(c) / 255;
            }
          }
        }
        const uint32_t small = pixelAt(icon, x, y);
        for (int ch = 0; ch < 3; ++ch) {
          const int expected = int((small >> (8 * ch)) & 0xff) * alphaOf(small) / 255;
          if (std::abs(sum[ch] / (k * k) - expected) > 48) {
            ++differing;
            break;
          }
        }
      }
    }
    // Only an anti-aliased edge here and there may differ.
    EXPECT_LT(differing, 8) << size;
  }
}

// The small icons are drawn on whole pixels: the square is a solid block of
// its two colours a quarter of the icon wide, the track never thinner than two pixels
// (each of its pixels has a track pixel beside it across and along), and
// captured ground fills at least a fifth of the field. A scaled-down picture
// fails all three: its edges blend into colours of neither side.
TEST(WindowIcon, SmallIconsKeepTheSquareAndTheTrackWhole) {
  for (int size : SMALL_ICON_SIZES) {
    const Image icon = makeSmallIcon(size);
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    auto is = [&](int x, int y, uint32_t colour) { return pixelAt(icon, x, y) == colour; };
    int left = size, right = -1, top = size, bottom = -1, white = 0, blue = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const bool square = is(x, y, 0xffffffffu) || is(x, y, 0xffb4c0ceu); // lit or shaded
        if (square && x > size / 2 && y < size / 2) {
          left = std::min(left, x), right = std::max(right, x), top = std::min(top, y);
          bottom = std::max(bottom, y), ++white;
        }
        blue += is(x, y, 0xff006083u);
        if (is(x, y, 0xff2e9a2cu)) {
          EXPECT_TRUE(is(x - 1, y, 0xff2e9a2cu) || is(x + 1, y, 0xff2e9a2cu)) << size << " at " << x << "," << y;
          EXPECT_TRUE(is(x, y - 1, 0xff2e9a2cu) || is(x, y + 1, 0xff2e9a2cu)) << size << " at " << x << "," << y;
        }
      }
    }
    EXPECT_GE(right - left + 1, size / 4) << size;
    EXPECT_EQ(white, (right - left + 1) * (bottom - top + 1)) << size << ": the square has holes";
    EXPECT_GE(blue * 5, size * size) << size;
  }
}

TEST(RasterToolkit, BlendingShapesAndPadding) {
  Image img = makeImage(4, 1, 0x00000000u);
  blendPixel(img, 0, 0, 0xff204060u, 0.5f); // over nothing: same colour, half alpha
  EXPECT_EQ(img.px[0], 0x80204060u);
  img.px[1] = 0xff000000u;
  blendPixel(img, 1, 0, 0xffffffffu, 0.5f);
  EXPECT_NEAR(red(img.px[1]), 128, 1);
  EXPECT_EQ(alphaOf(img.px[1]), 255);
  blendPixel(img, 7, 0, 0xffffffffu, 1.0f); // outside: ignored, no crash
  padTransparentColours(img);
  EXPECT_EQ(alphaOf(img.px[2]), 0);
  EXPECT_NE(img.px[2] & 0xffffffu, 0u); // took its visible neighbour's colour
  EXPECT_EQ(img.px[3], 0u);             // no visible neighbour: unchanged

  EXPECT_LT(sdRoundBox({5, 5}, {5, 5}, {3, 2}, 1), 0.0f);
  EXPECT_NEAR(sdRoundBox({10, 5}, {5, 5}, {3, 2}, 0), 2.0f, 1e-4f);
  std::vector<Vec2> square = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  EXPECT_NEAR(sdPolygon({2, 1}, square), -1.0f, 1e-4f);
  EXPECT_NEAR(sdPolygon({7, 2}, square), 3.0f, 1e-4f);
  EXPECT_EQ(gradientAt({{0.0f, 0xff000000u}, {1.0f, 0xffffffffu}}, 2.0f), 0xffffffffu);
}

TEST(PngEncoding, EveryPictureSurvivesTheRoundTrip) {
  std::vector<Image> pictures = {makeSpriteSheet(), makeLogo(), makePlayfield(), makeWindowIcon()};
  for (const Image &img : pictures) {
    std::vector<uint8_t> png = encodePng(img.px, img.width, img.height);
    int w = 0, h = 0;
    std::vector<uint32_t> back;
    ASSERT_TRUE(decodePng(png, &w, &h, &back));
    EXPECT_EQ(w, img.width);
    EXPECT_EQ(h, img.height);
    EXPECT_TRUE(back == img.px);
  }
  // Generation is deterministic: the same bytes every time.
  EXPECT_TRUE(makeSpriteSheet().px == pictures[0].px);
  EXPECT_TRUE(makeLogo().px == pictures[1].px);
}
