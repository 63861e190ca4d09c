// Layout in twips: flowing, wrapping, the three lengths in both orientations, hidden
// items, edges, and layout deferred while suppressed. Sizes by default: a 16-pixel button
// with 3 pixels around it is 22 pixels square; 15 twips per pixel.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

constexpr int32_t T = 15;       // twips per pixel
constexpr int32_t Button = 22;  // pixels

// Captions measured at 6 pixels a character, so that sizes do not depend on the font.
Ref<ReVivezav> measuredBar() {
  auto bar = newBar();
  bar->setTextMeasure([](std::string_view text) { return static_cast<int32_t>(text.size()) * 6; });
  return bar;
}

Ref<ReVivezav> barOfButtons(int n) {
  auto bar = measuredBar();
  for (int i = 0; i < n; ++i) addPush(*bar, "b" + std::to_string(i));
  return bar;
}

struct Lengths {
  int32_t min, ideal, depth;  // pixels
  friend bool operator==(const Lengths&, const Lengths&) = default;
  friend void PrintTo(const Lengths& l, std::ostream* os) { *os << l.min << "/" << l.ideal << "/" << l.depth; }
};

Lengths lengthsOf(ReVivezav& bar) {
  return {getLong(bar, "MinLength") / T, getLong(bar, "IdealLength") / T, getLong(bar, "IdealDepth") / T};
}

TEST(ReVivezavLayout, ItemsWrapIntoRowsOrColumnsWhenTheLengthIsTooShort) {
  auto bar = barOfButtons(5);
  struct Case { int32_t widthPx; Lengths expected; };
  for (Case c : {Case{110, {22, 110, 22}}, Case{0, {22, 22, 110}}, Case{60, {22, 44, 66}}}) {
    letProperty(*bar, "Width", c.widthPx * T);
    EXPECT_EQ(lengthsOf(*bar), c.expected) << "width " << c.widthPx;
  }
  EXPECT_EQ(bar->item(2).rect, (Rect{0, Button * T, Button * T, Button * T}));

  callMethod(*bar, "Move", {Variant(0.0f), Variant(0.0f), Variant(110.0f * T), Variant(60.0f * T)});
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 44, 66}));
  EXPECT_EQ(bar->item(2).rect, (Rect{Button * T, 0, Button * T, Button * T}));
  letProperty(*bar, "Vertical", false);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 110, 22}));
}

TEST(ReVivezavLayout, MinLengthIsTheLongestItemAlongTheOrientation) {
  auto bar = measuredBar();
  addPush(*bar, "a");
  callMethod(*bar, "AddCombo", {Variant("c"), Variant("120"), Variant("")});
  addSpin(*bar, "s", 0, 0, 0, 0);
  callMethod(*bar, "Move", {Variant(0.0f), Variant(0.0f), Variant(1000.0f * T), Variant(1000.0f * T)});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{120, 22 + 120 + 64, 22}));
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 120}));
}

TEST(ReVivezavLayout, HiddenItemsAndMenuEntriesTakeNoRoom) {
  auto bar = measuredBar();
  callMethod(*bar, "AddMenuItem", {Variant("loose"), Variant(""), Variant(""), Variant("x")});  // no menu yet
  callMethod(*bar, "AddMenu", {Variant("File")});  // captioned with its name
  callMethod(*bar, "AddMenuItem", {Variant("Copy"), Variant(""), Variant(""), Variant("Copy")});
  addPush(*bar, "b");
  letProperty(*bar, "Width", 1000 * T);
  EXPECT_EQ(bar->menuEntries(1), std::vector<int32_t>{2});
  EXPECT_EQ(bar->item(0).pixelRect.width, 22);
  EXPECT_TRUE(bar->item(2).rect.empty());
  EXPECT_EQ(lengthsOf(*bar).ideal, 22 + 22 + 40);
  letProperty(*button(*bar, "File"), "Visible", int16_t{0});
  EXPECT_TRUE(bar->item(1).rect.empty());
  EXPECT_EQ(bar->item(3).pixelRect.left, 22);
}

TEST(ReVivezavLayout, SpacingAtAWrapPointTakesNoRoom) {
  auto bar = measuredBar();
  callMethod(*bar, "AddGap");
  addPush(*bar, "a");
  addPush(*bar, "b");
  callMethod(*bar, "AddSeparator");
  addPush(*bar, "c");
  letProperty(*bar, "Width", 55 * T);  // the gap and two buttons fit (52), the separator not
  EXPECT_EQ(bar->item(1).pixelRect.left, metrics::GapLength);
  EXPECT_TRUE(bar->item(3).rect.empty());
  EXPECT_EQ(bar->item(4).pixelRect, (Rect{0, Button, Button, Button}));
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 52, 44}));
}

TEST(ReVivezavLayout, SpringPanelsShareTheSpareRoomTheFirstTakingTheOddPixels) {
  auto bar = measuredBar();
  addPush(*bar, "a");
  for (const char* name : {"s1", "s2", "s3"}) addPanel(*bar, name, "10", Variant(true));
  addPush(*bar, "b");
  struct Case {
    int32_t widthPx;
    int32_t springs[3];
  };
  for (Case c : {Case{74, {10, 10, 10}}, Case{81, {13, 12, 12}}, Case{83, {13, 13, 13}}}) {
    letProperty(*bar, "Width", c.widthPx * T);
    EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 74, 22})) << "width " << c.widthPx;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bar->item(1 + i).rect.width, c.springs[i] * T) << "width " << c.widthPx;
    const Rect last = bar->item(4).rect;
    EXPECT_EQ(last.left + last.width, c.widthPx * T) << "the row ends flush with the bar";
  }
}

TEST(ReVivezavLayout, DrawnEdgesAddToEveryLength) {
  auto bar = measuredBar();
  letProperty(*bar, "BorderFlags1", int16_t{6});
  letProperty(*bar, "EdgeFlags1", int16_t{2});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{0, 0, 2}));  // an empty bar needs only its edges
  bar = barOfButtons(3);
  letProperty(*bar, "Width", 1000 * T);
  letProperty(*bar, "EdgeFlags1", int16_t{1 | 2 | 4});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 22}));  // no border kind: nothing drawn
  letProperty(*bar, "BorderFlags1", int16_t{6});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{26, 70, 24}));
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{2, 2, Button, Button}));
}

TEST(ReVivezavLayout, CaptionsFlagsAndLeastWidthSizeButtons) {
  auto bar = measuredBar();
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("1")});
  addPush(*bar, "text", "-1.-1", "Open");              // 24 px of text + 2 x 4
  addPush(*bar, "right", "1.0", "Open", BF_CAPRIGHT);  // 3 + 16 + 3 + 24 + 4
  addPush(*bar, "above", "1.0", "Open", BF_CAPABOVE);  // text line above
  addPush(*bar, "least", "1.0", "", 0, 40);
  addPush(*bar, "widest", "1.0", "", BF_MAXWIDTH);
  callMethod(*bar, "AddMenu", {Variant("Edit")});      // 4 + 24 + 8 + 4
  addPush(*bar, "unloaded", "2.0", "Open");             // its set is not loaded: a caption
  // A set whose bitmap did not load arrives as Nothing: numbered, but its buttons caption.
  callMethod(*bar, "AddImageSet", {Variant::nothing(), Variant("3"), Variant(""), Variant(int16_t{16}),
                                   Variant(int16_t{16})});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 3);
  addPush(*bar, "failed", "3.0", "Open");
  letProperty(*bar, "Width", 1000 * T);
  const int32_t widths[] = {32, 50, 32, 40, 50, 40, 32, 32};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bar->item(i).pixelRect.width, widths[i]) << i;
  EXPECT_EQ(lengthsOf(*bar).depth, Button + metrics::LineHeight);
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("2")});
  EXPECT_EQ(bar->item(6).pixelRect.width, Button);
  EXPECT_EQ(bar->item(7).pixelRect.width, 32);
}

TEST(ReVivezavLayout, SizesFollowTheButtonSizeImageSizeAndTwipsPerPixel) {
  auto bar = measuredBar();
  bar->addPushButton("own", "", "", "", 0, 0, 0, 0);  // no size of its own: the bar's
  callMethod(*bar, "SetBarHeight", {Variant(int16_t{24})});
  callMethod(*bar, "SetImageSize", {Variant(int16_t{32}), Variant(int16_t{20})});
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{0, 0, 38, 30}));
  bar->setTwipsPerPixel(12);
  EXPECT_EQ(bar->item(0).rect, (Rect{0, 0, 38 * 12, 30 * 12}));
  EXPECT_EQ(getLong(*bar, "IdealDepth"), 30 * 12);
}

TEST(ReVivezavLayout, SuppressedLayoutIsDoneOnceWhenSwitchedBackOn) {
  auto bar = measuredBar();
  callMethod(*bar, "SuppressLayout", {Variant(true)});
  const int32_t before = bar->layoutCount();
  for (int i = 0; i < 50; ++i) addPush(*bar, "b" + std::to_string(i));
  letProperty(*bar, "Width", 110 * T);
  EXPECT_EQ(bar->layoutCount(), before);
  EXPECT_EQ(getLong(*bar, "IdealDepth"), 0);

  callMethod(*bar, "SuppressLayout", {Variant(false)});
  EXPECT_EQ(bar->layoutCount(), before + 1);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 110, 220}));
  callMethod(*bar, "SuppressLayout", {Variant(false)});
  EXPECT_EQ(bar->layoutCount(), before + 1);  // nothing changed since
  addPush(*bar, "more");
  EXPECT_EQ(bar->layoutCount(), before + 2);
  callMethod(*bar, "UpdateLayout");
  EXPECT_EQ(bar->layoutCount(), before + 3);
}

}  // namespace
}  // namespace zadeve::vizevore::testing
