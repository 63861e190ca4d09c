// The argument forms of the Add… members, image sets and Reset.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

TEST(ReVivezavItems, ArgumentFormsOfCombosSpinsAndPanels) {
  auto bar = newBar();
  callMethod(*bar, "AddCombo", {Variant("Size"), Variant("120"), Variant("Font size")});
  callMethod(*bar, "AddCombo", {Variant("Fonts"), Variant("Fonts"), Variant("")});  // not a width
  addCombo(*bar, "Face", "Arial;Courier");
  EXPECT_EQ(bar->item(0).combo.width, 120);
  EXPECT_EQ(bar->item(0).tooltip, "Font size");
  EXPECT_EQ(bar->item(1).combo.width, metrics::DefaultComboWidth);
  ASSERT_EQ(bar->item(2).combo.entries.size(), 2u);
  EXPECT_EQ(bar->item(2).combo.entries[1].text, "Courier");

  addSpin(*bar, "Zoom", 250, 10, 200, 0);
  EXPECT_EQ(bar->item(3).spin.value, 200);  // kept within the range
  EXPECT_EQ(bar->item(3).spin.step, 1);     // a step of 0 means 1
  // Fields left empty by the single-bar builder arrive as Empty variants, by reference.
  Variant empty;
  auto e = automation::byRef(empty);
  callMethod(*bar, "AddSpin", {Variant("Free"), e, e, e, e, e, Variant("")});
  EXPECT_FALSE(bar->item(4).spin.limited());
  EXPECT_EQ(bar->item(4).spin.width, metrics::DefaultSpinWidth);
  EXPECT_TRUE(empty.isEmpty());

  addPanel(*bar, "Coords", "140");
  addPanel(*bar, "Msg", "wide", Variant(int16_t{-1}));
  EXPECT_EQ(bar->item(5).panel.width, 140);
  EXPECT_FALSE(bar->item(5).panel.spring);
  EXPECT_EQ(bar->item(6).panel.width, metrics::DefaultPanelWidth);
  EXPECT_TRUE(bar->item(6).panel.spring);
}

TEST(ReVivezavItems, ImageSetFormsAndNumbers) {
  auto bar = newBar();
  callMethod(*bar, "SetImageSize", {Variant(int16_t{20}), Variant(int16_t{18})});
  callMethod(*bar, "AddImageSet", {Variant(strip(40, 18))});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 256);
  callMethod(*bar, "AddImageSet", {Variant(strip(32, 16)), Variant("3")});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 3);
  callMethod(*bar, "AddImageSet",
             {Variant(strip(64, 15)), Variant("2"), Variant(""), Variant(int16_t{16}), Variant(int16_t{15})});
  // The symbol palette's form: named, no number, height first.
  callMethod(*bar, "AddImageSet",
             {Variant(strip(24, 30)), Variant(""), Variant("Symbols"), Variant(int16_t{30}), Variant(int16_t{24})});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 257);
  callMethod(*bar, "AddImageSet",  // replaces set 3
             {Variant(strip(8, 8)), Variant("3"), Variant(""), Variant(int16_t{8}), Variant(int16_t{8})});

  struct Expected { int32_t number, width, height; };
  for (Expected e : {Expected{256, 20, 18}, Expected{3, 8, 8}, Expected{2, 16, 15}, Expected{257, 24, 30}}) {
    const ImageSet* set = bar->imageSet(e.number);
    ASSERT_NE(set, nullptr) << e.number;
    EXPECT_EQ(set->imageWidth, e.width) << e.number;
    EXPECT_EQ(set->imageHeight, e.height) << e.number;
  }
  EXPECT_EQ(bar->imageSets().size(), 4u);
}

TEST(ReVivezavItems, ResetEmptiesTheBarAndOutdatesItsButtonObjects) {
  auto bar = newBar();
  addPush(*bar, "a");
  callMethod(*bar, "AddImageSet", {Variant(strip(16, 16)), Variant("1")});
  auto old = button(*bar, "a");
  callMethod(*bar, "Reset");
  EXPECT_EQ(getLong(*bar, "ButtonCount"), 0);
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), -1);
  EXPECT_FALSE(button(*bar, "a"));
  EXPECT_AUTOMATION_ERROR(get(*bar, "ButtonType"), 9, "No current button");
  EXPECT_AUTOMATION_ERROR(get(*old, "Caption"), 5, "no longer on its bar");
}

}  // namespace
}  // namespace zadeve::vizevore::testing
