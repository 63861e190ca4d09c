// The argument forms of the Add… members, image sets, and the whole-bar properties.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;

TEST(ReVivezavItems, ComboTakesAWidthAndTooltipOrAListOfEntries) {
  auto bar = newBar();
  callMethod(*bar, "AddCombo", {Variant("Size"), Variant("120"), Variant("Font size")});
  callMethod(*bar, "AddCombo", {Variant("Fonts"), Variant("Fonts"), Variant("Font name")});
  callMethod(*bar, "AddCombo", {Variant("Face"), Variant("Arial;Courier")});
  EXPECT_EQ(bar->item(0).combo.width, 120);
  EXPECT_EQ(bar->item(0).tooltip, "Font size");
  EXPECT_EQ(bar->item(1).combo.width, metrics::DefaultComboWidth);
  ASSERT_EQ(bar->item(2).combo.entries.size(), 2u);
  EXPECT_EQ(bar->item(2).combo.entries[1].text, "Courier");
  EXPECT_EQ(bar->item(2).combo.listIndex, -1);
}

TEST(ReVivezavItems, SpinFieldsAreValueRangeStepAndWidth) {
  auto bar = newBar();
  addSpin(*bar, "Zoom", 250, 10, 200, 0, 80);
  const SpinData& spin = bar->item(0).spin;
  EXPECT_EQ(spin.value, 200);  // kept within the range
  EXPECT_EQ(spin.step, 1);     // a step of 0 means 1
  EXPECT_EQ(spin.width, 80);

  // Fields left empty by the single-bar builder arrive as Empty variants.
  Variant empty;
  callMethod(*bar, "AddSpin",
             {Variant("Free"), automation::byRef(empty), automation::byRef(empty), automation::byRef(empty),
              automation::byRef(empty), automation::byRef(empty), Variant("")});
  EXPECT_FALSE(bar->item(1).spin.limited());
  EXPECT_EQ(bar->item(1).spin.width, metrics::DefaultSpinWidth);
  EXPECT_TRUE(empty.isEmpty());  // nothing written back
}

TEST(ReVivezavItems, PanelWidthAndSpringWithTheThirdArgumentOptional) {
  auto bar = newBar();
  addPanel(*bar, "Coords", "140");
  addPanel(*bar, "Msg", "", Variant(int16_t{-1}));
  addPanel(*bar, "Odd", "wide");
  EXPECT_EQ(bar->item(0).panel.width, 140);
  EXPECT_FALSE(bar->item(0).panel.spring);
  EXPECT_TRUE(bar->item(1).panel.spring);
  EXPECT_EQ(bar->item(1).panel.width, metrics::DefaultPanelWidth);
  EXPECT_EQ(bar->item(2).panel.width, metrics::DefaultPanelWidth);
  EXPECT_EQ(bar->item(0).caption, "");
}

TEST(ReVivezavItems, MenuEntriesBelongToTheLastMenuAndTakeNoRoom) {
  auto bar = newBar();
  callMethod(*bar, "AddMenuItem", {Variant("loose"), Variant(""), Variant(""), Variant("Loose")});
  callMethod(*bar, "AddMenu", {Variant("File")});
  callMethod(*bar, "AddMenu", {Variant("Edit"), Variant("&Edit")});
  callMethod(*bar, "AddMenuItem", {Variant("Copy"), Variant(""), Variant(""), Variant("Copy")});
  bar->setWidth(100000);
  EXPECT_EQ(bar->item(1).caption, "File");
  EXPECT_EQ(bar->item(2).caption, "&Edit");
  EXPECT_EQ(bar->menuEntries(2), std::vector<int32_t>{3});
  EXPECT_TRUE(bar->item(3).rect.empty());
  EXPECT_FALSE(bar->item(0).rect.empty());  // no menu before it: on the bar
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
  callMethod(*bar, "AddImageSet",
             {Variant(strip(24, 30)), Variant(""), Variant("Symbols"), Variant(int16_t{30}), Variant(int16_t{24})});
  EXPECT_EQ(getLong(*bar, "IconSetIndex"), 257);

  struct Expected { int32_t number, width, height; };
  for (Expected e : {Expected{256, 20, 18}, Expected{3, 20, 18}, Expected{2, 16, 15}, Expected{257, 24, 30}}) {
    const ImageSet* set = bar->imageSet(e.number);
    ASSERT_NE(set, nullptr) << e.number;
    EXPECT_EQ(set->imageWidth, e.width) << e.number;
    EXPECT_EQ(set->imageHeight, e.height) << e.number;
  }
  EXPECT_EQ(bar->imageSet(257)->name, "Symbols");

  // Adding a set with a number it already has replaces that set.
  callMethod(*bar, "AddImageSet", {Variant(strip(8, 8)), Variant("3")});
  EXPECT_EQ(bar->imageSets().size(), 4u);
  EXPECT_EQ(bar->imageSet(3)->imageWidth, 20);
}

TEST(ReVivezavItems, AButtonShowsItsImageOnlyOnceTheSetIsLoaded) {
  auto bar = newBar();
  addPush(*bar, "a", "2.5", "Open");
  addPush(*bar, "b", "-1.-1", "Save");
  EXPECT_EQ(bar->item(0).image, (ImageRef{2, 5}));
  EXPECT_FALSE(bar->showsImage(bar->item(0)));
  EXPECT_TRUE(bar->showsCaption(bar->item(0)));
  callMethod(*bar, "AddImageSet", {Variant(strip(96, 16)), Variant("2")});
  EXPECT_TRUE(bar->showsImage(bar->item(0)));
  EXPECT_FALSE(bar->showsCaption(bar->item(0)));
  EXPECT_TRUE(bar->showsCaption(bar->item(1)));
}

TEST(ReVivezavItems, ResetEmptiesTheBarAndItsImageSets) {
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

TEST(ReVivezavItems, BarPropertiesTakeTheRuntimesValueForms) {
  auto bar = newBar();
  letProperty(*bar, "Visible", int16_t{0});
  EXPECT_EQ(get(*bar, "Visible"), Variant(false));
  letProperty(*bar, "Visible", int16_t{-1});
  EXPECT_EQ(get(*bar, "Visible"), Variant(true));
  letProperty(*bar, "Left", 30.5f);  // whole twips, half to even
  EXPECT_EQ(get(*bar, "Left"), Variant(30.0f));
  letProperty(*bar, "Width", int16_t{4500});
  callMethod(*bar, "Move", {Variant(15.0f), Variant(45.0f)});
  EXPECT_EQ(bar->width(), 4500);  // omitted arguments keep their values
  EXPECT_EQ(bar->top(), 45);
  callMethod(*bar, "ZOrder");
  callMethod(*bar, "ZOrder", {Variant(int16_t{1})});  // to the back: not brought to front
  EXPECT_EQ(bar->zOrderCount(), 1);
}

TEST(ReVivezavItems, ParentIsTheAttachedFormWithoutAReferenceToIt) {
  auto bar = newBar();
  EXPECT_TRUE(get(*bar, "parent").isNothing());
  auto form = automation::makeObject<automation::Collection>();
  bar->attach(form.get(), nullptr);
  EXPECT_EQ(form->refCount(), 1u);
  EXPECT_TRUE(get(*bar, "Parent").object() == form);
  bar->detach();
  EXPECT_TRUE(get(*bar, "parent").isNothing());
}

}  // namespace
}  // namespace zadeve::vizevore::testing
