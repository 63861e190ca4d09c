#include "vizevore/canvas.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/automation_assert.h"
#include "vizevore/font.h"

namespace zadeve::vizevore {
namespace {

namespace err = automation::err;
using platform::Picture;

constexpr Color Red{255, 0, 0};
constexpr Color Blue{0, 0, 255};
constexpr Color White{255, 255, 255};

automation::Ref<Picture> pictureOf(int w, int h, std::initializer_list<Color> pixels) {
  std::vector<uint8_t> rgba;
  for (Color c : pixels) rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
  return Picture::fromPixels(w, h, std::move(rgba));
}

int countNot(const Canvas& c, const Box& r, Color background) {
  int n = 0;
  for (int y = r.y; y < r.bottom(); ++y)
    for (int x = r.x; x < r.right(); ++x) n += c.pixel(x, y) != background;
  return n;
}

TEST(Canvas, FillClipsToTheImage) {
  Canvas c(4, 3, White);
  c.fillRect({-5, 1, 7, 10}, Red);  // covers columns 0..1 of rows 1..2
  EXPECT_EQ(c.pixel(1, 2), Red);
  EXPECT_EQ(c.pixel(2, 1), White);
  EXPECT_EQ(c.pixel(0, 0), White);
  c.fillRect({2, 0, -3, 3}, Blue);
  EXPECT_EQ(countNot(c, c.bounds(), White), 4);
  EXPECT_AUTOMATION_ERROR(c.pixel(4, 0), err::Subscript, "4,0");
  EXPECT_AUTOMATION_ERROR(Canvas(-1, 3), err::InvalidCall, "-1x3");
}

TEST(Canvas, EveryPrimitiveStaysInsideTheClip) {
  auto pic = pictureOf(2, 2, {Red, Red, Red, Red});
  const Color back{0, 100, 0};
  Canvas c(20, 20, back);
  c.setClip({5, 5, 4, 4});
  c.fillRect(c.bounds(), Blue);
  c.line(0, 0, 19, 19, Red);
  c.blit(*pic, {0, 0, 2, 2}, 8, 8);
  c.blitDisabled(*pic, {0, 0, 2, 2}, 3, 3);
  c.drawText(0, 4, "WWWW", Red, 12);
  c.drawEdge(c.bounds(), edge::Raised, side::All);
  EXPECT_EQ(countNot(c, c.bounds(), back), 16);
  EXPECT_EQ(c.pixel(8, 8), Red);
  c.resetClip();
  EXPECT_EQ(c.clip(), c.bounds());
  c.setClip({-10, 18, 100, 100});  // clipped to the image itself
  EXPECT_EQ(c.clip(), (Box{0, 18, 20, 2}));
}

// Rings from the outside in: {kind, outer top-left, outer bottom-right, inner top-left,
// inner bottom-right}.
struct EdgeCase {
  int kind;
  Color outerTL, outerBR, innerTL, innerBR;
};

class CanvasEdges : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(CanvasEdges, DrawsTwoRingsInTheirColours) {
  const EdgeCase e = GetParam();
  Canvas c(8, 6, Red);
  EXPECT_EQ(c.drawEdge(c.bounds(), e.kind, side::All), (Box{2, 2, 4, 2}));
  EXPECT_EQ(c.pixel(3, 0), e.outerTL);
  EXPECT_EQ(c.pixel(0, 3), e.outerTL);
  EXPECT_EQ(c.pixel(7, 0), e.outerBR);  // far corners belong to the bottom-right side
  EXPECT_EQ(c.pixel(0, 5), e.outerBR);
  EXPECT_EQ(c.pixel(3, 1), e.innerTL);
  EXPECT_EQ(c.pixel(6, 4), e.innerBR);
  EXPECT_EQ(c.pixel(3, 3), Red);
}

INSTANTIATE_TEST_SUITE_P(
    Canvas, CanvasEdges,
    ::testing::Values(
        EdgeCase{edge::Raised, colors::Light, colors::DarkShadow, colors::Highlight, colors::Shadow},
        EdgeCase{edge::Sunken, colors::Shadow, colors::Highlight, colors::DarkShadow, colors::Light},
        EdgeCase{edge::Etched, colors::Shadow, colors::Highlight, colors::Highlight, colors::Shadow},
        EdgeCase{edge::Bump, colors::Light, colors::DarkShadow, colors::DarkShadow, colors::Light}));

TEST(Canvas, EdgeOnlyOnTheGivenSides) {
  Canvas c(6, 6, Red);
  // Etched on the top and right only, as a bar docked beside another draws it.
  EXPECT_EQ(c.drawEdge(c.bounds(), edge::Etched, side::Top | side::Right), (Box{0, 2, 4, 4}));
  EXPECT_EQ(c.pixel(0, 0), colors::Shadow);
  EXPECT_EQ(c.pixel(0, 1), colors::Highlight);
  EXPECT_EQ(c.pixel(5, 3), colors::Highlight);
  EXPECT_EQ(c.pixel(4, 3), colors::Shadow);
  EXPECT_EQ(countNot(c, {0, 2, 4, 4}, Red), 0);
  EXPECT_EQ(c.drawEdge(c.bounds(), 0, side::All), c.bounds());
}

TEST(Canvas, BlitLeavesMagentaOutAndClips) {
  auto pic = pictureOf(3, 2, {colors::Transparent, Red, Blue, Red, colors::Transparent, Blue});
  Canvas c(4, 4, White);
  c.blit(*pic, {1, 0, 2, 2}, 2, 1);  // columns 1..2 of the picture
  EXPECT_EQ(c.pixel(2, 1), Red);
  EXPECT_EQ(c.pixel(3, 1), Blue);
  EXPECT_EQ(c.pixel(2, 2), White);  // magenta
  EXPECT_EQ(c.pixel(3, 2), Blue);
  EXPECT_EQ(countNot(c, c.bounds(), White), 3);

  Canvas d(2, 2, White);
  d.blit(*pic, {0, 0, 3, 2}, -1, -1, Transparency::Opaque);  // only (2,1) of the picture lands
  EXPECT_EQ(d.pixel(0, 0), colors::Transparent);
  EXPECT_EQ(d.pixel(1, 0), Blue);
  EXPECT_EQ(countNot(d, d.bounds(), White), 2);

  auto halfBlack = pictureOf(1, 1, {Color{0, 0, 0, 128}});
  d.blit(*halfBlack, {0, 0, 1, 1}, 0, 1);
  EXPECT_NEAR(d.pixel(0, 1).r, 127, 1);
}

TEST(Canvas, DisabledBlitEngravesDarkShapesOnly) {
  // A black dot and a white dot on magenta.
  auto pic = pictureOf(3, 1, {Color{0, 0, 0}, colors::Transparent, White});
  Canvas c(5, 3, colors::Face);
  c.blitDisabled(*pic, {0, 0, 3, 1}, 1, 1);
  EXPECT_EQ(c.pixel(1, 1), colors::Shadow);
  EXPECT_EQ(c.pixel(2, 2), colors::Highlight);
  EXPECT_EQ(c.pixel(3, 1), colors::Face);  // the white dot is gone
  EXPECT_EQ(countNot(c, c.bounds(), colors::Face), 2);
}

TEST(Canvas, TextIsDrawnInsideItsBoxWithTheMeasuredWidth) {
  ASSERT_TRUE(Font::caption().isReal()) << "no caption font: " << Font::caption().path();
  Canvas c(80, 20, White);
  const int w = c.drawText(5, 2, "Wave", Blue, 13);
  EXPECT_EQ(w, Canvas::measureText("Wave", 13));
  EXPECT_GT(countNot(c, {5, 2, w, 13}, White), 20);
  EXPECT_EQ(countNot(c, {0, 0, 5, 20}, White), 0);
  EXPECT_EQ(countNot(c, {5 + w + 1, 0, 80 - w - 6, 20}, White), 0);
  EXPECT_GT(Canvas::measureText("WWW", 13), Canvas::measureText("iii", 13));
}

TEST(Canvas, FitTextShortensWithDots) {
  const std::string longText = "A caption much too long";
  const int room = Canvas::measureText("A caption", 11);
  const std::string fitted = Canvas::fitText(longText, room, 11);
  EXPECT_TRUE(fitted.ends_with("...")) << fitted;
  EXPECT_LE(Canvas::measureText(fitted, 11), room);
  EXPECT_EQ(Canvas::fitText("Short", 200, 11), "Short");
  EXPECT_EQ(Canvas::fitText("Short", 2, 11), "");
}

TEST(Font, MissingFontFileFallsBackToBoxes) {
  Font boxes("/nonexistent/font.ttf");
  EXPECT_FALSE(boxes.isReal());
  const GlyphBitmap& g = boxes.glyph('A', 12);
  EXPECT_GT(g.advance, 0);
  EXPECT_GT(g.width * g.height, 0);
  EXPECT_EQ(boxes.measure("AB", 12), 2 * g.advance);
  // A file that is not a font at all is treated the same way.
  EXPECT_FALSE(Font(std::string(ZADEVE_TEST_DATA) + "/pictures/check.png").isReal());
}

TEST(Canvas, PngRoundTripKeepsEveryPixel) {
  Canvas c(7, 5, White);
  c.fillRect({1, 1, 3, 2}, Red);
  c.setPixel(6, 4, Color{1, 2, 3, 4});
  auto back = platform::decodePicture(c.encodePng(), "canvas");
  ASSERT_EQ(back->width(), 7);
  ASSERT_EQ(back->height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(back->pixel(x, y), c.pixel(x, y));
  EXPECT_EQ(c.toPicture()->pixel(2, 2), Red);
}

TEST(Canvas, WritingPngToAnImpossiblePathRaises75) {
  Canvas c(2, 2);
  const std::string path = "/nonexistent-dir/out.png";
  EXPECT_AUTOMATION_ERROR(c.writePng(path), 75, path);
  EXPECT_AUTOMATION_ERROR(Canvas(0, 3).encodePng(), err::InvalidCall, "empty");
}

}  // namespace
}  // namespace zadeve::vizevore
