#include "platform/picture.h"

#include <gtest/gtest.h>

#include <stb_image_write.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "automation/dispatch.h"
#include "support/automation_assert.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

namespace err = automation::err;
namespace fs = std::filesystem;
using automation::Ref;
using Bytes = std::vector<uint8_t>;

const std::string Dir = std::string(ZADEVE_TEST_DATA) + "/pictures/";

Bytes readBytes(const std::string& file) {
  const std::string text = support::TempDir::read(Dir + file);
  return {text.begin(), text.end()};
}

// Decodes `bytes`: the pixels, or the error's description when it is an invalid picture.
std::string outcome(std::span<const uint8_t> bytes, const std::string& name) {
  try {
    Ref<Picture> p = decodePicture(bytes, name);
    EXPECT_EQ(p->rgba().size(), size_t(p->width()) * size_t(p->height()) * 4) << name;
    return std::string(p->rgba().begin(), p->rgba().end());
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), err::InvalidPicture) << e.description();
    return e.description();
  }
}

// make_icons.py draws the same 5x3 image into every check file.
const Rgba Expected[3][5] = {
    {{200, 0, 0}, {0, 150, 0}, {0, 0, 200}, {255, 255, 255}, {0, 0, 0}},
    {{255, 0, 255}, {255, 210, 0}, {128, 128, 128}, {0, 0, 128}, {0, 160, 200}},
    {{0, 0, 0}, {255, 255, 255}, {200, 0, 0}, {0, 150, 0}, {0, 0, 200}},
};

TEST(Picture, DecodesEveryPixelOfEachFormatAndGivesItsSizeInPixels) {
  for (const char* file : {"check4.bmp", "check8.bmp", "check24.bmp", "check24_topdown.bmp", "check.png"}) {
    SCOPED_TRACE(file);
    Ref<Picture> p = loadPicture(Dir + file);
    ASSERT_EQ(automation::getProperty(*p, "Width"), automation::Variant(5));
    ASSERT_EQ(automation::getProperty(*p, "height"), automation::Variant(3));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(p->pixel(x, y), Expected[y][x]) << x << "," << y;
    EXPECT_EQ(automation::getProperty(*p, "Type"), automation::Variant(Picture::TypeBitmap));
    EXPECT_AUTOMATION_ERROR(automation::letProperty(*p, "Width", 3), err::MemberMissing, "");
  }
  Ref<Picture> grey = decodePicture(readBytes("grey8.jpg"), "grey8.jpg");  // one 8 x 8 block
  EXPECT_EQ(grey->width(), 8);
  EXPECT_EQ(grey->pixel(3, 3), (Rgba{136, 136, 136}));  // 128 + DC 64 / 8
}

TEST(Picture, MissingFileRaises53AndUndecodableOrDamagedFilesRaise481WithThePath) {
  for (const std::string& path : {Dir + "no such icon.bmp", Dir, std::string()})
    EXPECT_AUTOMATION_ERROR(loadPicture(path), err::FileNotFound, "File not found: " + path);
  support::TempDir dir;
  // TGA has no signature, so random bytes could pass for one: only signed formats are taken.
  const std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\1\0\1\0\x18\0\x10\x20\x30", 21);
  for (const std::string& path : {dir.write("empty.bmp", ""), dir.write("text.bmp", "this is not a picture"),
                                  dir.write("half.bmp", std::string("BM\x10\0\0\0", 6)), dir.write("one.tga", tga)})
    EXPECT_AUTOMATION_ERROR(loadPicture(path), err::InvalidPicture, path);
  EXPECT_AUTOMATION_ERROR(Picture::fromPixels(2, 2, Bytes(24)), err::InvalidCall, "size");
  EXPECT_AUTOMATION_ERROR(Picture::fromPixels(-2, -3, Bytes(24)), err::InvalidCall, "-2x-3");

  // Damaged headers: every one must be refused, none may crash or allocate wildly.
  const Bytes good = readBytes("check24.bmp");
  const struct { const char* what; size_t offset; uint32_t value; } cases[] = {
      {"huge width", 18, 0x7FFFFFFF}, {"huge height", 22, 0x7FFFFFF0},   {"large square", 18, 40000},
      {"negative width", 18, 0xFFFFFFFB}, {"zero height", 22, 0},        {"pixels past the end", 10, 5000},
      {"unknown compression", 30, 77},   {"odd bit count", 28, 0x00070007},
      // The decoder takes the top bit of the compression as a sign (so as uncompressed).
      {"negative compression", 30, 0x80000000}, {"unknown header size", 14, 0x2800}};
  for (const auto& c : cases) {
    Bytes bad = good;
    for (int i = 0; i < 4; ++i) bad[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
    EXPECT_AUTOMATION_ERROR(decodePicture(bad, c.what), err::InvalidPicture, c.what);
  }
  // Other formats are sized before decoding: a 6000 x 6000 PNG header allocates nothing.
  Bytes png = readBytes("check.png");
  const uint8_t side[] = {0, 0, 0x17, 0x70};  // 6000 big-endian, as width and as height
  for (int at : {16, 20}) std::copy(side, side + 4, png.begin() + at);
  const uLong crc = crc32(0, png.data() + 12, 17);  // IHDR's type and data: the file stays sound
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  EXPECT_AUTOMATION_ERROR(decodePicture(png, "huge.png"), err::InvalidPicture, "too large");
  // A chunk whose length runs past the end would have the decoder reserve that much first.
  Bytes chunk = readBytes("check.png");
  const uint8_t length[] = {0x7F, 0xFF, 0xFF, 0xF0};
  std::copy(length, length + 4, chunk.begin() + 33);  // the chunk after IHDR
  EXPECT_AUTOMATION_ERROR(decodePicture(chunk, "chunk.png"), err::InvalidPicture, "truncated chunk");
  // An extra JPEG Huffman table (AC, number 1, which no scan uses) of 255 + 45 symbols
  // after the SOI: the decoder would write past a table's 256 entries.
  Bytes table = {0xFF, 0xC4, 0x01, 0x3F, 0x11, 255, 45}, jpeg = readBytes("grey8.jpg");
  table.resize(table.size() + 14 + 300, 0);
  jpeg.insert(jpeg.begin() + 2, table.begin(), table.end());
  EXPECT_AUTOMATION_ERROR(decodePicture(jpeg, "table.jpg"), err::InvalidPicture, "bad Huffman table");
}

// Every cut into the pixels is refused, not padded: the last 12 bytes are row padding or
// the closing PNG chunk, which the decoder may do without, and a JPEG is cut into its data.
// Random damage, mostly into the headers, loads or raises 481, as does the JPEG that made
// the old decoder shift by 33.
TEST(Picture, TruncatedOrCorruptedFilesAreRefusedOrDecodedSafely) {
  for (const char* file : {"check8.bmp", "check24.bmp", "check.png", "std16.bmp", "grey8.jpg"}) {
    const Bytes bytes = readBytes(file);
    const bool jpeg = std::string_view(file).ends_with(".jpg");
    for (size_t n = jpeg ? bytes.size() / 2 : 0; n + (jpeg ? 2 : 12) < bytes.size(); ++n) {
      SCOPED_TRACE(std::string(file) + ": " + std::to_string(n) + " bytes");
      EXPECT_AUTOMATION_ERROR(decodePicture(std::span(bytes.data(), n), file), err::InvalidPicture, file);
    }
  }
  std::mt19937 rng(4711);
  for (const char* file : {"std16.bmp", "check4.bmp", "check.png"}) {
    const Bytes good = readBytes(file);
    for (int round = 0; round < 300; ++round) {
      Bytes bytes = good;
      for (int flips = 1 + static_cast<int>(rng() % 4); flips > 0; --flips)
        bytes[rng() % (rng() % 2 ? std::min<size_t>(bytes.size(), 80) : bytes.size())] = static_cast<uint8_t>(rng());
      outcome(bytes, file);
    }
  }
  outcome(readBytes("jpeg-shift-33.bmp"), "jpeg-shift-33.bmp");
}

// The scan of undefined_table.jpg uses a Huffman table no segment defines: whatever the
// decoder makes of it (it refuses it now), it must not depend on what its memory held before.
TEST(Picture, DamagedFilesDecodeTheSameWhateverMemoryHeldBefore) {
  const Bytes bytes = readBytes("undefined_table.jpg");
  std::vector<std::string> results;
  for (int fill : {0x00, 0x55, 0xFF}) {
    // Blocks around the size of the decoder's own state, left full of the pattern.
    std::vector<void*> junk;
    for (size_t size = 16 << 10; size <= 64 << 10; size += 2 << 10)
      junk.push_back(std::memset(std::malloc(size), fill, size));
    for (void* block : junk) std::free(block);
    results.push_back(outcome(bytes, "undefined_table.jpg"));
  }
  EXPECT_EQ(results, std::vector(3, results[0]));
}

// Paletted pictures whose palette is short, or written after the small OS/2 header: every
// pixel takes its colour from the palette, or black when its index lies beyond it, never
// from memory the decoder did not fill.
TEST(Picture, PalettedPixelsComeFromThePaletteOrAreBlack) {
  auto bmp = [](Bytes header, Bytes palette, Bytes rows) {
    const size_t offset = 14 + header.size() + palette.size();
    Bytes b = {'B', 'M'};
    for (size_t v : {offset + rows.size(), size_t{0}, offset})  // size, reserved, pixel offset
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    for (const auto* part : {&header, &palette, &rows}) b.insert(b.end(), part->begin(), part->end());
    return b;
  };
  const Rgba black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0};
  // 2 x 2, 8 bits, three 3-byte entries (blue, green, red) after the 12-byte header.
  const auto os2 = bmp({12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 8, 0}, {0, 0, 0, 255, 255, 255, 0, 0, 255},
                       {0, 1, 0, 0, 2, 0, 0, 0});
  // 2 x 1, 8 bits, two 4-byte entries; the second pixel names entry 200.
  Bytes info(40, 0);
  for (auto [at, v] : {std::pair{0, 40}, {4, 2}, {8, 1}, {12, 1}, {14, 8}}) info[at] = static_cast<uint8_t>(v);
  const auto shortPalette = bmp(info, {0, 0, 255, 0, 255, 255, 255, 0}, {1, 200, 0, 0});

  Ref<Picture> p = decodePicture(os2, "os2.bmp");
  ASSERT_EQ(p->width(), 2);
  EXPECT_EQ((std::vector{p->pixel(0, 0), p->pixel(1, 0), p->pixel(0, 1), p->pixel(1, 1)}),
            (std::vector{red, black, black, white}));
  Ref<Picture> q = decodePicture(shortPalette, "short.bmp");
  EXPECT_EQ((std::vector{q->pixel(0, 0), q->pixel(1, 0)}), (std::vector{white, black}));
  auto inside = shortPalette;
  inside[10] = 30;  // the pixels would start in the middle of the header
  EXPECT_AUTOMATION_ERROR(decodePicture(inside, "inside.bmp"), err::InvalidPicture, "inside the header");
  inside.resize(50);  // and the header itself cut short
  EXPECT_AUTOMATION_ERROR(decodePicture(inside, "cut.bmp"), err::InvalidPicture, "truncated header");

  // 2 x 1 PNG, palette red and blue; the pixels name entries 1 and 5.
  const std::string_view png(
      "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x02\0\0\0\x01\x08\x03\0\0\0\xc3\xfc\x8f\xb8"
      "\0\0\0\x06PLTE\xff\0\0\0\0\xff\x6c\xa1\xfd\x8e"
      "\0\0\0\x0bIDAT\x78\x9c\x63\x60\x64\x05\0\0\x0a\0\x07\xfa\x9d\x11\x79\0\0\0\0IEND\xae\x42\x60\x82",
      86);
  Bytes shortPng(png.begin(), png.end());
  Ref<Picture> r = decodePicture(shortPng, "short.png");
  EXPECT_EQ((std::vector{r->pixel(0, 0), r->pixel(1, 0)}), (std::vector{Rgba{0, 0, 255}, black}));
  // Transparency for three entries of a palette of two stays an invalid picture.
  const uint8_t alpha[] = {0, 0, 0, 3, 't', 'R', 'N', 'S', 0x80, 0x80, 0x80, 0, 0, 0, 0};
  shortPng.insert(shortPng.begin() + 51, std::begin(alpha), std::end(alpha));
  EXPECT_AUTOMATION_ERROR(decodePicture(shortPng, "alpha.png"), err::InvalidPicture, "tRNS");
}

// A grey PNG, all black: a few kilobytes that decode to width x height x 4 bytes.
std::string blackPng(int width, int height) {
  std::string png;
  const Bytes grey(static_cast<size_t>(width) * height, 0);
  auto append = [](void* out, void* data, int size) { static_cast<std::string*>(out)->append(static_cast<char*>(data), size); };
  stbi_write_png_to_func(append, &png, width, height, 1, grey.data(), width);
  return png;
}

// The process's own high-water mark of resident memory, in bytes.
int64_t peakResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) return std::stoll(line.substr(6)) * 1024;
  return -1;
}

// Forty strips just under the limit for one picture: those past the budget for all of them
// fail with 481 naming the file, and memory stays within the budget. Measured in a child,
// whose high-water mark starts from now.
TEST(Picture, StripsPastTheBudgetFailWithTheirNameAndMemoryStaysWithinIt) {
  support::TempDir dir;
  const int width = 2048, height = static_cast<int>(MaxPicturePixels / width) - 1;
  const std::string png = blackPng(width, height);
  ASSERT_LT(png.size(), 64u << 10);
  for (int i = 0; i < 40; ++i) dir.write("strip" + std::to_string(i) + ".png", png);
  const pid_t child = ::fork();
  if (child == 0) {
    std::ofstream("/proc/self/clear_refs") << "5";
    const int64_t before = peakResidentBytes();
    std::vector<Ref<Picture>> held;
    int refused = 0;
    for (int i = 0; i < 40; ++i) {
      const std::string path = dir.file("strip" + std::to_string(i) + ".png");
      try {
        held.push_back(loadPicture(path));
      } catch (const automation::AutomationError& e) {
        if (e.number() != err::InvalidPicture || e.description().find(path) == std::string::npos) ::_exit(3);
        ++refused;
      }
      if (decodedPixels() > MaxDecodedPixels) ::_exit(4);
    }
    if (held.size() != static_cast<size_t>(MaxDecodedPixels / (int64_t{width} * height)) || refused == 0) ::_exit(5);
    // The budget, and one picture being decoded beyond it with the decoder's own buffers.
    ::_exit(peakResidentBytes() - before <= MaxDecodedPixels * 4 + (48 << 20) ? 0 : 6);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: a wrong error, 4: over the budget, 5: wrong counts, 6: memory grew past it";
}

// An unchanged file is decoded once, a changed one again. Letting go of pictures makes room
// again; one over the limit for a picture is refused before anything is decoded.
TEST(Picture, AnUnchangedFileIsDecodedOnceAndReleasedPicturesGiveTheirBudgetBack) {
  support::TempDir dir;
  const std::string path = dir.file("strip.bmp");
  fs::copy_file(Dir + "check24.bmp", path);
  auto fresh = loadPicture(path), freshAgain = loadPicture(path);
  EXPECT_NE(fresh->rgba().data(), freshAgain->rgba().data()) << "a file just written may still change";
  fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(10));
  auto first = loadPicture(path), second = loadPicture(path);
  EXPECT_NE(first.get(), second.get()) << "each load is an object of its own";
  EXPECT_EQ(first->rgba().data(), second->rgba().data());
  // Another picture of the same size under the same name, dated as the first: another file.
  fs::remove(path);
  fs::copy_file(Dir + "check24_topdown.bmp", path);
  auto replaced = loadPicture(path);
  EXPECT_NE(replaced->rgba().data(), first->rgba().data());
  EXPECT_EQ(replaced->width(), first->width());
  fs::remove(path);
  EXPECT_AUTOMATION_ERROR(loadPicture(path), 53, path);

  const int64_t before = decodedPixels();
  {
    auto a = decodePicture(readBytes("check.png"), "a");
    EXPECT_EQ(decodedPixels(), before + 15);
    auto b = a->copy();
    EXPECT_EQ(decodedPixels(), before + 15) << "a copy shares the pixels";
  }
  EXPECT_EQ(decodedPixels(), before);
  const std::string big = dir.write("big.png", blackPng(2048, static_cast<int>(MaxPicturePixels / 2048) + 1));
  EXPECT_AUTOMATION_ERROR(loadPicture(big), err::InvalidPicture, "too large");
  EXPECT_EQ(decodedPixels(), before);
}

}  // namespace
}  // namespace zadeve::platform
