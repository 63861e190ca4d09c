#include "platform/picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "automation/dispatch.h"
#include "support/automation_assert.h"

namespace zadeve::platform {
namespace {

namespace err = automation::err;
using automation::Ref;

const std::string Dir = std::string(ZADEVE_TEST_DATA) + "/pictures/";

std::vector<uint8_t> readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putLe32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// make_icons.py draws the same 5x3 image into every check file.
const Rgba Expected[3][5] = {
    {{200, 0, 0}, {0, 150, 0}, {0, 0, 200}, {255, 255, 255}, {0, 0, 0}},
    {{255, 0, 255}, {255, 210, 0}, {128, 128, 128}, {0, 0, 128}, {0, 160, 200}},
    {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 150, 0}, {0, 0, 200}},
};

class PictureFormats : public testing::TestWithParam<const char*> {};

TEST_P(PictureFormats, DecodesEveryPixel) {
  Ref<Picture> p = loadPicture(Dir + GetParam());
  ASSERT_EQ(p->width(), 5);
  ASSERT_EQ(p->height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(p->pixel(x, y), Expected[y][x]) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Picture, PictureFormats,
                         testing::Values("check4.bmp", "check8.bmp",
                                         "check24.bmp", "check24_topdown.bmp", "check.png"));

TEST(Picture, IconStripsHaveTheirImageSizesAndMagentaBackground) {
  struct Case {
    const char* file;
    int imageWidth, imageHeight;
  };
  for (Case c : {Case{"std16.bmp", 16, 15}, Case{"big24.bmp", 24, 24}}) {
    Ref<Picture> p = loadPicture(Dir + c.file);
    EXPECT_EQ(p->height(), c.imageHeight) << c.file;
    EXPECT_EQ(p->width() % c.imageWidth, 0) << c.file;
    EXPECT_GE(p->width() / c.imageWidth, 8) << c.file;
    EXPECT_EQ(p->pixel(0, 0), (Rgba{255, 0, 255})) << c.file;
  }
}

TEST(Picture, AutomationMembersGiveSizeInPixelsAndBitmapType) {
  Ref<Picture> p = loadPicture(Dir + "std16.bmp");
  EXPECT_EQ(automation::toLong(automation::getProperty(*p, "Width")), p->width());
  EXPECT_EQ(automation::toLong(automation::getProperty(*p, "height")), 15);
  EXPECT_EQ(automation::getProperty(*p, "Type"), automation::Variant(Picture::TypeBitmap));
  EXPECT_AUTOMATION_ERROR(automation::letProperty(*p, "Width", 3), err::MemberMissing, "");
}

TEST(Picture, MissingFileRaises53WithThePath) {
  const std::string path = Dir + "no such icon.bmp";
  EXPECT_AUTOMATION_ERROR(loadPicture(path), err::FileNotFound, path);
  EXPECT_AUTOMATION_ERROR(loadPicture(Dir), err::FileNotFound, Dir);
  EXPECT_AUTOMATION_ERROR(loadPicture(""), err::FileNotFound, "File not found");
}

TEST(Picture, UndecodableFileRaises481WithThePath) {
  const auto dir = std::filesystem::temp_directory_path() / "zadeve_picture_test";
  std::filesystem::create_directories(dir);
  struct Case {
    const char* name;
    std::string content;
  };
  for (const Case& c : {Case{"empty.bmp", ""}, Case{"text.bmp", "this is not a picture"},
                        Case{"half.bmp", std::string("BM\x10\0\0\0", 6)}}) {
    const std::string path = (dir / c.name).string();
    std::ofstream(path, std::ios::binary) << c.content;
    EXPECT_AUTOMATION_ERROR(loadPicture(path), err::InvalidPicture, path);
  }
  std::filesystem::remove_all(dir);
}

// A 1x1 TGA is a picture to the decoder, but TGA has no signature: random bytes could pass
// for one, so only the signed formats are accepted.
TEST(Picture, UnsignedFormatsAreRefused) {
  const std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\x10\x20\x30", 21);
  const std::vector<uint8_t> bytes(tga.begin(), tga.end());
  EXPECT_AUTOMATION_ERROR(decodePicture(bytes, "one.tga"), err::InvalidPicture, "not a BMP");
}

// Damaged headers: every one must be refused, none may crash or allocate wildly.
TEST(Picture, DamagedBmpHeadersAreInvalidPictures) {
  const std::vector<uint8_t> good = readBytes(Dir + "check24.bmp");
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
  };
  for (Case c : {Case{"huge width", 18, 0x7FFFFFFF}, Case{"huge height", 22, 0x7FFFFFF0},
                 Case{"large square", 18, 40000}, Case{"negative width", 18, 0xFFFFFFFB},
                 Case{"zero height", 22, 0}, Case{"pixels past the end", 10, 5000},
                 Case{"unknown compression", 30, 77}, Case{"odd bit count", 28, 0x00070007}}) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bad = good;
    putLe32(bad, c.offset, c.value);
    EXPECT_AUTOMATION_ERROR(decodePicture(bad, "damaged.bmp"), err::InvalidPicture,
                            "damaged.bmp");
  }
}

// The last 12 bytes are row padding or the closing PNG chunk, which the decoder may
// do without; every cut before them loses pixels.
TEST(Picture, EveryTruncationIntoThePixelsIsAnInvalidPicture) {
  for (const char* file : {"check8.bmp", "check24.bmp", "check.png", "std16.bmp"}) {
    const std::vector<uint8_t> bytes = readBytes(Dir + file);
    for (size_t n = 0; n + 12 < bytes.size(); ++n) {
      SCOPED_TRACE(std::string(file) + ": " + std::to_string(n) + " bytes");
      EXPECT_AUTOMATION_ERROR(decodePicture(std::span(bytes.data(), n), file),
                              err::InvalidPicture, file);
    }
  }
}

TEST(Picture, RandomlyCorruptedFilesLoadOrRaise481) {
  std::mt19937 rng(4711);
  for (const char* file : {"std16.bmp", "check4.bmp", "check.png"}) {
    const std::vector<uint8_t> good = readBytes(Dir + file);
    for (int round = 0; round < 300; ++round) {
      std::vector<uint8_t> bytes = good;
      const int flips = 1 + static_cast<int>(rng() % 4);
      // Most damage goes into the headers, where it matters.
      for (int i = 0; i < flips; ++i) {
        const size_t span = rng() % 2 ? std::min<size_t>(bytes.size(), 80) : bytes.size();
        bytes[rng() % span] = static_cast<uint8_t>(rng());
      }
      try {
        Ref<Picture> p = decodePicture(bytes, file);
        EXPECT_EQ(p->rgba().size(), size_t(p->width()) * size_t(p->height()) * 4);
      } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), err::InvalidPicture) << e.description();
      }
    }
  }
}

TEST(Picture, FromPixelsKeepsThePixelsAndChecksTheSize) {
  std::vector<uint8_t> rgba(2 * 3 * 4, 0);
  rgba[(1 * 2 + 1) * 4 + 0] = 9;  // red of (1, 1)
  Ref<Picture> p = Picture::fromPixels(2, 3, rgba);
  EXPECT_EQ(p->pixel(1, 1), (Rgba{9, 0, 0, 0}));
  EXPECT_EQ(p->refCount(), 1u);
  EXPECT_AUTOMATION_ERROR(Picture::fromPixels(2, 2, rgba), err::InvalidCall, "size");
  EXPECT_AUTOMATION_ERROR(Picture::fromPixels(0, 0, {}), err::InvalidCall, "0x0");
  EXPECT_AUTOMATION_ERROR(Picture::fromPixels(-2, -3, rgba), err::InvalidCall, "-2x-3");
}

}  // namespace
}  // namespace zadeve::platform
