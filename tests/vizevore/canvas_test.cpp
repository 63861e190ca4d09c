// What the painting goldens do not show: clipping outside any bar, alpha, the box font
// of a machine without fonts, and PNG output.

#include "vizevore/canvas.h"

#include <gtest/gtest.h>

#include "support/automation_assert.h"
#include "vizevore/font.h"

namespace zadeve::vizevore {
namespace {

namespace err = automation::err;

constexpr Color Red{255, 0, 0};
constexpr Color White{255, 255, 255};

automation::Ref<platform::Picture> pictureOf(int w, int h, std::initializer_list<Color> pixels) {
  std::vector<uint8_t> rgba;
  for (Color c : pixels) rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
  return platform::Picture::fromPixels(w, h, std::move(rgba));
}

int countNot(const Canvas& c, Color background) {
  int n = 0;
  for (Color p : c.pixels()) n += p != background;
  return n;
}

TEST(Canvas, EveryPrimitiveStaysInsideTheClip) {
  auto pic = pictureOf(2, 2, {Red, Red, Red, Red});
  const Color back{0, 100, 0};
  Canvas c(20, 20, back);
  c.setClip({5, 5, 4, 4});
  c.fillRect({-5, -5, 100, 100}, colors::Face);
  c.line(0, 0, 19, 19, Red);
  c.blit(*pic, {0, 0, 2, 2}, 8, 8);
  c.blitDisabled(*pic, {0, 0, 2, 2}, 3, 3);
  c.drawText(0, 4, "WWWW", Red, 12);
  c.drawEdge(c.bounds(), edge::Raised, side::All);
  EXPECT_EQ(countNot(c, back), 16);
  EXPECT_EQ(c.pixel(8, 8), Red);
  c.setClip({-10, 18, 100, 100});
  EXPECT_EQ(c.clip(), (Box{0, 18, 20, 2}));
  EXPECT_AUTOMATION_ERROR(c.pixel(20, 0), err::Subscript, "20,0");
  EXPECT_AUTOMATION_ERROR(Canvas(-1, 3), err::InvalidCall, "-1x3");
}

TEST(Canvas, BlitsPartlyOutsideTheImageAndBlendsPartialAlpha) {
  auto pic = pictureOf(3, 2, {colors::Transparent, Red, White, Red, colors::Transparent, Red});
  Canvas c(2, 2, White);
  c.blit(*pic, {0, 0, 3, 2}, -1, -1, Transparency::Opaque);  // only row 1 lands, magenta too
  EXPECT_EQ(c.pixel(0, 0), colors::Transparent);
  EXPECT_EQ(c.pixel(1, 0), Red);
  EXPECT_EQ(countNot(c, White), 2);
  c.blit(*pictureOf(1, 1, {Color{0, 0, 0, 128}}), {0, 0, 1, 1}, 0, 1);
  EXPECT_NEAR(c.pixel(0, 1).r, 127, 1);
}

TEST(Font, AMissingOrBrokenFontFileFallsBackToBoxes) {
  Font boxes("/nonexistent/font.ttf");
  EXPECT_FALSE(boxes.isReal());
  const GlyphBitmap& g = boxes.glyph('A', 12);
  EXPECT_GT(g.width * g.height, 0);
  EXPECT_EQ(boxes.measure("AB", 12), 2 * g.advance);
  EXPECT_FALSE(Font(std::string(ZADEVE_TEST_DATA) + "/pictures/check.png").isReal());
}

TEST(Canvas, PngKeepsEveryPixelAndAnUnwritablePathRaises75) {
  Canvas c(7, 5, White);
  c.fillRect({1, 1, 3, 2}, Red);
  c.setPixel(6, 4, Color{1, 2, 3, 4});
  auto back = platform::decodePicture(c.encodePng(), "canvas");
  ASSERT_EQ(back->width(), 7);
  ASSERT_EQ(back->height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(back->pixel(x, y), c.pixel(x, y));
  EXPECT_AUTOMATION_ERROR(c.writePng("/nonexistent-dir/out.png"), 75, "/nonexistent-dir/out.png");
  EXPECT_AUTOMATION_ERROR(Canvas(0, 3).encodePng(), err::InvalidCall, "empty");
}

}  // namespace
}  // namespace zadeve::vizevore
