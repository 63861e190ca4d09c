// Layout in twips: flowing, wrapping, the three lengths in both orientations, hidden
// items, edges, and layout deferred while suppressed. Sizes by default: a 16-pixel button
// with 3 pixels around it is 22 pixels square; 15 twips per pixel.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;

constexpr int32_t T = 15;       // twips per pixel
constexpr int32_t Button = 22;  // pixels

Ref<ReVivezav> barOfButtons(int n) {
  auto bar = newBar();
  for (int i = 0; i < n; ++i) addPush(*bar, "b" + std::to_string(i));
  return bar;
}

struct Lengths {
  int32_t min, ideal, depth;  // pixels
  friend bool operator==(const Lengths&, const Lengths&) = default;
};

Lengths lengthsOf(ReVivezav& bar) {
  return {getLong(bar, "MinLength") / T, getLong(bar, "IdealLength") / T, getLong(bar, "IdealDepth") / T};
}

void PrintTo(const Lengths& l, std::ostream* os) { *os << "{" << l.min << ", " << l.ideal << ", " << l.depth << "}"; }

TEST(ReVivezavLayout, ItemsWrapIntoRowsWhenTheWidthIsTooShort) {
  auto bar = barOfButtons(5);
  struct Case { int32_t widthPx; Lengths expected; };
  for (Case c : {Case{110, {22, 110, 22}}, Case{60, {22, 44, 66}}, Case{0, {22, 22, 110}}}) {
    letProperty(*bar, "Width", c.widthPx * T);
    EXPECT_EQ(lengthsOf(*bar), c.expected) << "width " << c.widthPx;
  }
  letProperty(*bar, "Width", 60 * T);
  EXPECT_EQ(bar->item(2).rect, (Rect{0, Button * T, Button * T, Button * T}));
  EXPECT_EQ(bar->item(3).rect, (Rect{Button * T, Button * T, Button * T, Button * T}));
}

TEST(ReVivezavLayout, VerticalBarsWrapIntoColumnsByTheirHeight) {
  auto bar = barOfButtons(5);
  callMethod(*bar, "Move", {Variant(0.0f), Variant(0.0f), Variant(110.0f * T), Variant(60.0f * T)});
  EXPECT_EQ(getLong(*bar, "IdealDepth"), Button * T);
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 44, 66}));
  EXPECT_EQ(bar->item(2).rect, (Rect{Button * T, 0, Button * T, Button * T}));
  letProperty(*bar, "Vertical", false);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 110, 22}));
}

TEST(ReVivezavLayout, MinLengthIsTheLongestItemAlongTheOrientation) {
  auto bar = newBar();
  addPush(*bar, "a");
  callMethod(*bar, "AddCombo", {Variant("c"), Variant("120"), Variant("")});
  addSpin(*bar, "s", 0, 0, 0, 0);
  letProperty(*bar, "Width", 1000 * T);
  letProperty(*bar, "Height", 1000 * T);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{120, 22 + 120 + 64, 22}));
  letProperty(*bar, "Vertical", true);
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 120}));
}

TEST(ReVivezavLayout, HiddenItemsTakeNoRoom) {
  auto bar = barOfButtons(3);
  letProperty(*bar, "Width", 1000 * T);
  letProperty(*button(*bar, "b1"), "Visible", int16_t{0});
  EXPECT_EQ(lengthsOf(*bar).ideal, 44);
  EXPECT_TRUE(bar->item(1).rect.empty());
  EXPECT_EQ(bar->item(2).rect.left, Button * T);
  letProperty(*button(*bar, "b1"), "Visible", int16_t{-1});
  EXPECT_EQ(lengthsOf(*bar).ideal, 66);
}

TEST(ReVivezavLayout, SpacingAtAWrapPointTakesNoRoom) {
  auto bar = newBar();
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
  letProperty(*bar, "Width", 200 * T);
  EXPECT_EQ(bar->item(3).pixelRect, (Rect{52, 0, metrics::SeparatorLength, Button}));
}

TEST(ReVivezavLayout, DrawnEdgesAddToEveryLength) {
  auto bar = barOfButtons(3);
  letProperty(*bar, "Width", 1000 * T);
  letProperty(*bar, "EdgeFlags1", int16_t{1 | 2 | 4});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{22, 66, 22}));  // no border kind: nothing drawn
  letProperty(*bar, "BorderFlags1", int16_t{6});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{26, 70, 24}));
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{2, 2, Button, Button}));
}

TEST(ReVivezavLayout, CaptionsFlagsAndLeastWidthSizeButtons) {
  auto bar = newBar();
  bar->setTextMeasure([](std::string_view text) { return static_cast<int32_t>(text.size()) * 6; });
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("1")});
  addPush(*bar, "text", "-1.-1", "Open");                      // 24 px of text + 2 x 4
  addPush(*bar, "right", "1.0", "Open", BF_CAPRIGHT);          // 3 + 16 + 3 + 24 + 4
  addPush(*bar, "above", "1.0", "Open", BF_CAPABOVE);          // text line above
  addPush(*bar, "least", "1.0", "", 0, 40);
  addPush(*bar, "widest", "1.0", "", BF_MAXWIDTH);
  letProperty(*bar, "Width", 1000 * T);
  const int32_t widths[] = {32, 50, 32, 40, 50};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bar->item(i).pixelRect.width, widths[i]) << i;
  EXPECT_EQ(bar->item(2).pixelRect.height, Button + metrics::LineHeight);
  EXPECT_EQ(lengthsOf(*bar).depth, Button + metrics::LineHeight);
}

TEST(ReVivezavLayout, ASpringPanelTakesTheFreeLengthButNotTheIdealLength) {
  auto bar = newBar();
  addPush(*bar, "a");
  addPanel(*bar, "status", "", Variant(true));
  addPanel(*bar, "fixed", "50");
  letProperty(*bar, "Width", 300 * T);
  EXPECT_EQ(bar->item(1).pixelRect.width, 300 - 22 - 50);
  EXPECT_EQ(bar->item(2).pixelRect.left, 250);
  EXPECT_EQ(lengthsOf(*bar).ideal, 22 + 96 + 50);
}

TEST(ReVivezavLayout, SizesFollowTheButtonSizeImageSizeAndTwipsPerPixel) {
  auto bar = newBar();
  addPush(*bar, "own", "-1.-1", "", 0, 0, 0);  // no size of its own: the bar's
  callMethod(*bar, "SetBarHeight", {Variant(int16_t{24})});
  callMethod(*bar, "SetImageSize", {Variant(int16_t{32}), Variant(int16_t{20})});
  EXPECT_EQ(bar->item(0).pixelRect, (Rect{0, 0, 38, 30}));
  bar->setTwipsPerPixel(12);
  EXPECT_EQ(bar->item(0).rect, (Rect{0, 0, 38 * 12, 30 * 12}));
  EXPECT_EQ(getLong(*bar, "IdealDepth"), 30 * 12);
}

TEST(ReVivezavLayout, SuppressedLayoutIsDoneOnceWhenSwitchedBackOn) {
  auto bar = newBar();
  callMethod(*bar, "SuppressLayout", {Variant(true)});
  const int32_t before = bar->layoutCount();
  for (int i = 0; i < 50; ++i) addPush(*bar, "b" + std::to_string(i));
  letProperty(*bar, "Width", 110 * T);
  letProperty(*bar, "Vertical", false);
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

TEST(ReVivezavLayout, AnEmptyBarNeedsOnlyItsEdges) {
  auto bar = newBar();
  letProperty(*bar, "BorderFlags1", int16_t{6});
  letProperty(*bar, "EdgeFlags1", int16_t{2});
  EXPECT_EQ(lengthsOf(*bar), (Lengths{0, 0, 2}));
}

}  // namespace
}  // namespace zadeve::vizevore::testing
