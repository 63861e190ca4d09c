// A palette sized by the user: by each edge, horizontal and vertical, with the contents shown
// while dragging (the hook corrects every step) and with an outline (the palette snaps
// when the drag ends). FlowToolbar items are 20 x 22 pixels, six of them; the frame adds
// 8 x 26 pixels.

#include <climits>

#include "support/automation_assert.h"
#include "support/palette_fixture.h"

namespace zadeve::support {
namespace {

using platform::PixelRect;
namespace e = platform::wmsz;

class Sizing : public PaletteTest {
 protected:
  Ref<FrmToolPalette> floated(bool full, bool vertical) {
    screen->setDragFullWindows(full);
    lib->KaTSetProp(ObjectRef(hostBar), "FloatPos", Variant(""));  // where the last one was: forgotten
    auto palette = floatBar();
    if (vertical) {
      barOf(*palette).set("Vertical", Variant(true));
      palette->Signal("REFORMAT");  // refit as a column: one item high, six deep
    }
    return palette;
  }
};

TEST_F(Sizing, EveryEdgeWithContentsShownAndWithAnOutline) {
  struct Case {
    bool vertical;
    int edge;
    PixelRect proposed, full, outline;
  };
  // Horizontal palettes start at 96,96 128 x 48 (one row), vertical ones 140 x 46 (one
  // item a column). Along the toolbar the length re-flows it: 70 pixels wide gives three
  // items a row (68 x 70); 96 pixels high gives three items a column (52 x 86). Across it
  // the size stays.
  const Case cases[] = {
      {false, e::Right, {96, 96, 166, 144}, {96, 96, 164, 166}, {96, 96, 164, 166}},
      {false, e::TopRight, {96, 80, 166, 144}, {96, 80, 164, 150}, {96, 80, 164, 150}},
      {false, e::BottomRight, {96, 96, 166, 160}, {96, 96, 164, 166}, {96, 96, 164, 166}},
      {false, e::Left, {154, 96, 224, 144}, {156, 96, 224, 166}, {154, 96, 222, 166}},
      {false, e::TopLeft, {154, 80, 224, 144}, {156, 80, 224, 150}, {154, 80, 222, 150}},
      {false, e::BottomLeft, {154, 96, 224, 160}, {156, 96, 224, 166}, {154, 96, 222, 166}},
      {false, e::Top, {96, 80, 224, 144}, {96, 80, 224, 128}, {96, 80, 224, 128}},
      {false, e::Bottom, {96, 96, 224, 170}, {96, 96, 224, 144}, {96, 96, 224, 144}},
      {true, e::Bottom, {96, 96, 236, 192}, {184, 96, 236, 182}, {96, 96, 148, 182}},
      {true, e::BottomLeft, {90, 96, 236, 192}, {184, 96, 236, 182}, {90, 96, 142, 182}},
      {true, e::BottomRight, {96, 96, 240, 192}, {188, 96, 240, 182}, {96, 96, 148, 182}},
      {true, e::Top, {96, 46, 236, 142}, {96, 56, 148, 142}, {96, 46, 148, 132}},
      {true, e::TopLeft, {90, 46, 236, 142}, {90, 56, 142, 142}, {90, 46, 142, 132}},
      {true, e::TopRight, {96, 46, 240, 142}, {96, 56, 148, 142}, {96, 46, 148, 132}},
      {true, e::Left, {80, 96, 236, 142}, {80, 96, 220, 142}, {80, 96, 220, 142}},
      {true, e::Right, {96, 96, 250, 142}, {96, 96, 236, 142}, {96, 96, 236, 142}},
  };
  for (const auto& c : cases) {
    for (bool full : {true, false}) {
      SCOPED_TRACE(::testing::Message() << (c.vertical ? "vertical" : "horizontal") << " edge " << c.edge
                                        << (full ? " full" : " outline"));
      auto palette = floated(full, c.vertical);
      screen->dragEdge(palette->hWnd(), c.edge, {c.proposed});
      EXPECT_EQ(rectOf(*palette), full ? c.full : c.outline);
      palette->unload();
    }
  }
}

TEST_F(Sizing, ContentsShownLayOutOnEveryStepAnOutlineOnlyAtTheEnd) {
  const std::vector<PixelRect> drag{{96, 96, 200, 144}, {96, 96, 170, 144}, {96, 96, 150, 144}};
  for (bool full : {true, false}) {
    SCOPED_TRACE(full ? "full" : "outline");
    auto palette = floated(full, false);
    const int before = lets(barOf(*palette), "Width");
    screen->dragEdge(palette->hWnd(), e::Right, drag);
    EXPECT_EQ(lets(barOf(*palette), "Width") - before, full ? 3 : 1);
    EXPECT_EQ(rectOf(*palette), (PixelRect{96, 96, 96 + 48, 96 + 92})) << "two items a row";
    palette->unload();
  }
}

TEST_F(Sizing, AProposalOfTheSameSizeOnlyMovesTheWindow) {
  auto palette = floated(true, false);
  const int before = lets(barOf(*palette), "Width");
  screen->dragEdge(palette->hWnd(), e::Right, {{100, 100, 228, 148}});
  EXPECT_EQ(rectOf(*palette), (PixelRect{100, 100, 228, 148}));
  EXPECT_EQ(lets(barOf(*palette), "Width"), before);
}

TEST_F(Sizing, RectangleArithmeticBeyond32BitsIsAnOverflow) {
  auto palette = floated(true, false);
  EXPECT_AUTOMATION_ERROR(screen->dragEdge(palette->hWnd(), e::Right, {{INT_MIN, 0, INT_MAX, 48}}), 6, "Overflow");
  // R - L fits, but the corrected left edge R - 28 does not.
  EXPECT_AUTOMATION_ERROR(screen->dragEdge(palette->hWnd(), e::Left, {{INT_MIN, 0, INT_MIN + 10, 48}}), 6,
                          "Overflow");
}

TEST_F(Sizing, LayoutGivesTheToolbarAtLeastItsMinimumLengthAndReportsTheSizeTaken) {
  auto palette = floated(true, false);
  int32_t w = 150, h = 5000;  // less than one item
  palette->LayoutPalette(w, h);
  const auto& calls = barOf(*palette).calls();
  auto widthLet = std::find_if(calls.rbegin(), calls.rend(), [](const RecordedCall& c) {
    return c.name == "Width" && c.kind == InvokeKind::PropertyLet;
  });
  ASSERT_NE(widthLet, calls.rend());
  EXPECT_EQ(widthLet->args, std::vector<Variant>{Variant(300.0f)});
  EXPECT_EQ(w, 300 + 120);
  EXPECT_EQ(h, 6 * 330 + 390);
  EXPECT_EQ(rectOf(*palette).width() * 15, w);
  EXPECT_EQ(palette->layoutBusy(), 0);
}

TEST_F(Sizing, ALayoutThatFailsLeavesThePaletteBusyForGood) {
  auto palette = floated(true, false);
  barOf(*palette).on("IdealLength", [](FakeObject&, std::span<Arg>) -> Variant { automation::raise(5, "broken"); });
  int32_t w = 1000, h = 1000;
  EXPECT_AUTOMATION_ERROR(palette->LayoutPalette(w, h), 5, "broken");
  EXPECT_EQ(palette->layoutBusy(), -1);
  const auto rect = rectOf(*palette);
  palette->LayoutPalette(w, h);
  EXPECT_EQ(w, 1000);
  EXPECT_EQ(h, 1000);
  screen->dragEdge(palette->hWnd(), e::Right, {{96, 96, 300, 144}});
  EXPECT_EQ(rectOf(*palette), rect) << "the hook keeps the size it cannot re-flow";
}

TEST(MaxValue, TheGreaterOrOnATieTheSecond) {
  using automation::Variant;
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(3.0)), Variant(int32_t{5}));
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(7.5f)), Variant(7.5f));
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(5.0)), Variant(5.0));
}

}  // namespace
}  // namespace zadeve::support
