// Pictures are checked by their PNG header before decoding: a huge or odd
// picture file is refused with the message of a missing picture.
#include "common/files.h"
#include "presentation/assets.h"
#include "presentation/picture_header.h"
#include "test_support.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A PNG signature and IHDR chunk declaring this size, then some filler bytes.
std::vector<uint8_t> pngHeader(uint32_t width, uint32_t height) {
  std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                            0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) {
      b.push_back(uint8_t(v >> shift));
    }
  }
  b.insert(b.end(), {8, 6, 0, 0, 0, 1, 2, 3, 4});
  return b;
}
} // namespace

TEST(PictureHeader, OnlyPngFilesOfAtMost4096PixelsASideReachTheDecoder) {
  makeTempRoot();
  std::vector<uint8_t> notPng = pngHeader(100, 100);
  notPng[1] = 'B';
  std::vector<uint8_t> noIhdr = pngHeader(100, 100);
  noIhdr[12] = 'X';
  std::vector<uint8_t> shortHeader = pngHeader(100, 100);
  shortHeader.resize(23);
  const struct {
    std::vector<uint8_t> bytes;
    const char *why; // nullptr: accepted
  } cases[] = {
      {pngHeader(1920, 1030), nullptr},
      {pngHeader(1, 1), nullptr},
      {pngHeader(4096, 4096), nullptr},
      {pngHeader(4097, 16), "4097 x 16 pixels"},
      {pngHeader(16, 4097), "16 x 4097 pixels"},
      {pngHeader(20000, 20000), "20000 x 20000 pixels"},
      {pngHeader(0xFFFFFFFFu, 1), "4294967295 x 1 pixels"},
      {pngHeader(0, 100), "0 x 100 pixels"},
      {notPng, "not a PNG"},
      {noIhdr, "not a PNG"},
      {shortHeader, "not a PNG"},
      {{}, "not a PNG"},
  };
  for (const auto &c : cases) {
    ASSERT_TRUE(replaceFileAtomically("data/picture.pta", c.bytes));
    std::string why;
    EXPECT_EQ(pictureFileFits("data/picture.pta", why), c.why == nullptr) << why;
    if (c.why != nullptr) {
      EXPECT_NE(why.find(c.why), std::string::npos) << why;
    }
  }
  // No regular file: missing, a folder, a FIFO (which must not block), /dev/zero.
  const std::string fifo = resolvePath("data/fifo.pta");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(symlink("/dev/zero", resolvePath("data/zero.pta").c_str()), 0);
  for (const char *path : {"data/missing.pta", "data", "data/fifo.pta", "data/zero.pta"}) {
    std::string why;
    EXPECT_FALSE(pictureFileFits(path, why)) << path;
  }
}

TEST(PictureHeader, ARefusedPictureIsReportedLikeAMissingOne) {
  makeTempRoot();
  ASSERT_TRUE(replaceFileAtomically("data/big.pta", pngHeader(20000, 20000)));
  testing::internal::CaptureStderr();
  EXPECT_EQ(loadPicture("data/big.pta"), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "pelta: cannot load picture " + dataPath("data/big.pta") +
                " (20000 x 20000 pixels, more than 4096 a side)\n");
}
