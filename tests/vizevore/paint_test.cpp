#include "vizevore/paint.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/automation_assert.h"
#include "vizevore/font.h"

namespace zadeve::vizevore {
namespace {

using automation::Ref;

const std::string Data = ZADEVE_TEST_DATA;
constexpr int Tpp = metrics::DefaultTwipsPerPixel;

// No text measure of its own: the bar measures with the font it paints in.
Ref<ReVivezav> newBar() { return automation::makeObject<ReVivezav>(); }

void addStrip(ReVivezav& bar, const char* file, const char* number, int w, int h) {
  bar.addImageSet(platform::loadPicture(Data + "/pictures/" + file), number, "", w, h);
}

// Places a horizontal bar at the given pixel length and its ideal depth.
void placeHorizontal(ReVivezav& bar, int length) {
  bar.move(0, 0, length * Tpp, 0);
  bar.setHeight(bar.idealDepth());
}

Box boxOf(const ReVivezav& bar, int item) {
  const Rect& r = bar.item(item).pixelRect;
  return {r.left, r.top, r.width, r.height};
}

int count(const Canvas& c, const Box& b, Color color) {
  int n = 0;
  for (int y = b.y; y < b.bottom(); ++y)
    for (int x = b.x; x < b.right(); ++x) n += c.pixel(x, y) == color;
  return n;
}

// Golden pictures: ZADEVE_UPDATE_GOLDEN=1 rewrites them after a deliberate change (look at
// them). A pixel differs when a channel is off by more than 40, and up to 0.5 % may differ,
// so that a different rasteriser build does not fail the test.
void expectMatchesGolden(const Canvas& canvas, const std::string& name) {
  ASSERT_TRUE(Font::caption().isReal()) << "no caption font: " << Font::caption().path();
  const std::string path = Data + "/golden/" + name + ".png";
  if (const char* update = std::getenv("ZADEVE_UPDATE_GOLDEN"); update && *update == '1') {
    canvas.writePng(path);
    return;
  }
  const std::string actual = ::testing::TempDir() + name + ".actual.png";
  canvas.writePng(actual);
  ASSERT_TRUE(std::filesystem::exists(path)) << path << " is missing; run with ZADEVE_UPDATE_GOLDEN=1";
  Ref<platform::Picture> golden = platform::loadPicture(path);
  ASSERT_EQ(golden->width(), canvas.width()) << "painted: " << actual;
  ASSERT_EQ(golden->height(), canvas.height()) << "painted: " << actual;
  int differing = 0;
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const Color a = canvas.pixel(x, y), b = golden->pixel(x, y);
      differing += std::abs(a.r - b.r) > 40 || std::abs(a.g - b.g) > 40 || std::abs(a.b - b.b) > 40;
    }
  EXPECT_LE(differing, canvas.width() * canvas.height() / 200)
      << differing << " pixels differ from " << path << "; painted: " << actual;
}

// Every kind of item on one docked bar.
TEST(PaintGolden, HorizontalBarWithEveryKindOfItem) {
  auto bar = newBar();
  ReVivezav& b = *bar;
  addStrip(b, "std16.bmp", "2", 16, 15);
  b.addPushButton("FileNew", "2.0", "", "New", 0, 0, 0, 0);
  b.addPushButton("FileOpen", "2.1", "", "Open", 0, 0, 0, 0);
  b.setEnabled(b.addPushButton("FileSave", "2.2", "", "Save", 0, 0, 0, 0), false);
  b.addSeparator();
  b.setFlags(b.addToggleButton("Cut", "2.3", "", "Cut", 0, 0), BF_TOGGLE | BF_ON);
  b.addPushButton("Copy", "2.4", "", "Copy", 0, 0, 0, 0);
  b.addPushButton("Find", "2.9", "", "Find", BF_CAPRIGHT, 0, 0, 0);
  b.addGap();
  b.addPushButton("Report", "", "", "Report", 0, 0, 0, 0);
  b.addMenu("View", "View");
  b.setListIndex(b.addComboWithEntries("Zoom", "50%;100%;200%"), 1);
  b.addSpin("Scale", SpinData{12.5f, 0, 100, 0.5f, 60}, "Scale");
  const int status = b.addPanel("Status", 90, false, "");
  b.setCaption(status, "Ready");
  b.setProgress(status, 40);
  b.setBorderFlags(6, 2, 0, 0);
  placeHorizontal(b, 640);
  expectMatchesGolden(paintToolbar(b), "bar_horizontal");
}

TEST(PaintGolden, VerticalBarWithLargeImagesInTwoColumns) {
  auto bar = newBar();
  ReVivezav& b = *bar;
  b.setImageSize(24, 24);
  b.setBarHeight(24);
  addStrip(b, "big24.bmp", "1", 24, 24);
  for (int i = 0; i < 6; ++i) {
    const int at = b.addPushButton("Tool" + std::to_string(i), "1." + std::to_string(i + 8), "",
                                   "Tool", 0, 0, 0, 0);
    if (i == 2) b.addSeparator();
    if (i == 4) b.setEnabled(at, false);
    if (i == 1) b.setFlags(at, BF_ON);
  }
  b.setBorderFlags(6, 15, 0, 0);
  b.setVertical(true);
  b.move(0, 0, 0, 150 * Tpp);  // room for four buttons a column
  b.setWidth(b.idealDepth());
  expectMatchesGolden(paintToolbar(b), "bar_vertical");
}

// A short bar that wraps: captions beside and above images, disabled fields, a full panel,
// a raised one (not greyed: BF_BUMP is a panel's look), and a double border.
TEST(PaintGolden, WrappedBarWithCaptionsDisabledFieldsAndPanels) {
  auto bar = newBar();
  ReVivezav& b = *bar;
  addStrip(b, "std16.bmp", "2", 16, 15);
  b.addPushButton("Print", "2.8", "", "Print", BF_CAPABOVE, 0, 0, 0);
  b.addPushButton("Play", "2.13", "", "Play", BF_CAPLEFT, 0, 0, 0);
  b.setEnabled(b.addPushButton("Stop", "2.14", "", "Stop", BF_CAPRIGHT, 0, 0, 0), false);
  const int combo = b.addCombo("Layer", 80, "Layer");
  b.addListItem(combo, "Background layer");
  b.setListIndex(combo, 0);
  b.setEnabled(combo, false);
  b.setEnabled(b.addSpin("Count", SpinData{-3, 0, 0, 1, 0}, "Count"), false);
  const int full = b.addPanel("Done", 70, false, "");
  b.setCaption(full, "Complete");
  b.setProgress(full, 100);
  const int raised = b.addPanel("Mode", 0, true, "");
  b.setCaption(raised, "Edit mode");
  b.setFlags(raised, BF_BUMP);
  b.setBorderFlags(5, 15, 2, 15);
  placeHorizontal(b, 260);
  expectMatchesGolden(paintToolbar(b), "bar_wrapped");
}

TEST(Paint, CaptionsGetTheRoomTheyArePaintedInTheBarItsIdealSizeAndAFormOnlyTheBarsBox) {
  auto bar = newBar();
  const std::string caption = "Wide caption WWW";
  bar->addPushButton("A", "", "", caption, 0, 0, 0, 0);
  const int room = boxOf(*bar, 0).w - 2 * metrics::CaptionPadding;
  EXPECT_EQ(room, Canvas::measureText(caption, CaptionPixelHeight));
  EXPECT_EQ(Canvas::fitText(caption, room, CaptionPixelHeight), caption);
  EXPECT_EQ(paintedSize(*bar), (Box{0, 0, bar->idealLength() / Tpp, bar->idealDepth() / Tpp}));
  bar->move(0, 0, 200 * Tpp, 30 * Tpp);
  EXPECT_EQ(paintedSize(*bar), (Box{0, 0, 200, 30}));

  // Painted into a form, only the bar's box is touched.
  bar = newBar();
  bar->addPushButton("A", "", "", "Alpha", 0, 0, 0, 0);
  bar->setBorderFlags(6, 15, 0, 0);
  placeHorizontal(*bar, 60);
  const Color form{0, 128, 128};
  Canvas c(100, 60, form);
  paintToolbar(*bar, c, 20, 10);
  const Box size = paintedSize(*bar);
  EXPECT_EQ(count(c, {20, 10, size.w, size.h}, form), 0);
  EXPECT_EQ(count(c, c.bounds(), form), 100 * 60 - size.w * size.h);
  EXPECT_EQ(c.clip(), c.bounds());
}

TEST(Paint, BadImageReferencesDrawNothingAndDoNotFail) {
  auto bar = newBar();
  addStrip(*bar, "check24.bmp", "3", 16, 15);          // a picture narrower than one image
  bar->addPushButton("A", "3.0", "", "", 0, 0, 0, 0);  // partly outside the picture
  bar->addPushButton("B", "3.7", "", "", 0, 0, 0, 0);  // past its end
  bar->addPushButton("C", "9.0", "", "", 0, 0, 0, 0);  // no such set: empty caption
  placeHorizontal(*bar, 100);
  const Canvas c = paintToolbar(*bar);
  EXPECT_EQ(count(c, boxOf(*bar, 1), colors::Face), boxOf(*bar, 1).w * boxOf(*bar, 1).h);
  EXPECT_GT(count(c, boxOf(*bar, 0), Color{200, 0, 0}), 0);
}

// What the goldens do not show: clipping outside any bar, alpha, the box font of a machine
// without fonts, and PNG output.
namespace err = automation::err;

constexpr Color Red{255, 0, 0};
constexpr Color White{255, 255, 255};

automation::Ref<platform::Picture> pictureOf(int w, int h, std::initializer_list<Color> pixels) {
  std::vector<uint8_t> rgba;
  for (Color c : pixels) rgba.insert(rgba.end(), {c.r, c.g, c.b, c.a});
  return platform::Picture::fromPixels(w, h, std::move(rgba));
}

TEST(Canvas, EveryPrimitiveStaysInsideTheClipBlitsMayLieOutsideAndAlphaBlends) {
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
  EXPECT_EQ(count(c, c.bounds(), back), 20 * 20 - 16);
  EXPECT_EQ(c.pixel(8, 8), Red);
  c.setClip({-10, 18, 100, 100});
  EXPECT_EQ(c.clip(), (Box{0, 18, 20, 2}));
  EXPECT_AUTOMATION_ERROR(c.pixel(20, 0), err::Subscript, "20,0");
  EXPECT_AUTOMATION_ERROR(Canvas(-1, 3), err::InvalidCall, "-1x3");

  // Blits partly outside the image, and partial alpha blends.
  pic = pictureOf(3, 2, {colors::Transparent, Red, White, Red, colors::Transparent, Red});
  Canvas d(2, 2, White);
  d.blit(*pic, {0, 0, 3, 2}, -1, -1, Transparency::Opaque);  // only row 1 lands, magenta too
  EXPECT_EQ(d.pixel(0, 0), colors::Transparent);
  EXPECT_EQ(d.pixel(1, 0), Red);
  EXPECT_EQ(count(d, d.bounds(), White), 2);
  d.blit(*pictureOf(1, 1, {Color{0, 0, 0, 128}}), {0, 0, 1, 1}, 0, 1);
  EXPECT_NEAR(d.pixel(0, 1).r, 127, 1);
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

TEST(Font, AMissingOrBrokenFontFileFallsBackToBoxes) {
  Font boxes("/nonexistent/font.ttf");
  EXPECT_FALSE(boxes.isReal());
  const GlyphBitmap& g = boxes.glyph('A', 12);
  EXPECT_GT(g.width * g.height, 0);
  EXPECT_EQ(boxes.measure("AB", 12), 2 * g.advance);
  EXPECT_FALSE(Font(std::string(ZADEVE_TEST_DATA) + "/pictures/check.png").isReal());
}

}  // namespace
}  // namespace zadeve::vizevore
