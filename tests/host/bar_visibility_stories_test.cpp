// Showing and hiding single bars of the example view with our real control: docked bars
// switch their control, the floating Tools bar opens and closes its palette.

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "host/example_view.h"
#include "palette/tool_palette.h"

namespace zadeve::host {
namespace {

using palette::FrmToolPalette;

class BarVisibility : public ExampleView {
 protected:
  ~BarVisibility() override {
    for (auto& p : FrmToolPalette::loadedPalettes()) p->unload();
  }
  void setVisible(Bar b, int16_t v) { lib->KaTSetVisible(ObjectRef(form), ObjectRef(bar(b)), v); }
  int16_t isVisible(Bar b) {
    return automation::toInteger(automation::callMethod(*lib, "KaTIsVisible", {Variant(bar(b))}));
  }
  std::string prop(Bar b, const char* key) {
    return automation::toString(lib->KaTGetProp(ObjectRef(bar(b)), key, Variant("-")));
  }
  void setProp(Bar b, const char* key, const char* value) { lib->KaTSetProp(ObjectRef(bar(b)), key, Variant(value)); }
  size_t signalsSoFar() const { return form->signals().size(); }
};

TEST_F(BarVisibility, AFloatingBarIsShownInItsPaletteAndHiddenWithoutDocking) {
  ASSERT_EQ(prop(Tools, "State"), "Floating");
  EXPECT_EQ(isVisible(Tools), 0);
  setVisible(Tools, -1);
  ASSERT_EQ(FrmToolPalette::loadedPalettes().size(), 1u);
  auto palette = FrmToolPalette::loadedPalettes().back();
  EXPECT_EQ(palette->Caption(), "Tools");
  EXPECT_EQ(palette->Left(), 6000.0f) << "at its saved FloatPos";
  EXPECT_FALSE(bar(Tools)->visible());
  EXPECT_EQ(isVisible(Tools), -1);
  EXPECT_EQ(form->signals().back(), "REFORMAT");

  lib->KaTBeginScan(nullptr);  // a host scan under way is lost
  const ObjectRef paletteBar = palette->bar();
  setVisible(Tools, 0);
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
  EXPECT_FALSE(bar(Tools)->visible());
  EXPECT_EQ(prop(Tools, "State"), "Floating") << "closed with DONTDOCK";
  EXPECT_EQ(prop(Tools, "Visible"), "No");
  EXPECT_EQ(lib->aBar(), paletteBar) << "the scan stopped at the palette's bar";
  EXPECT_EQ(tbm->count(), 7);

  // Hidden already: nothing at all happens, not even a signal.
  const size_t before = signalsSoFar();
  setVisible(Tools, 0);
  EXPECT_EQ(signalsSoFar(), before);

  // Meant to be shown but its palette is not open: only the property and the signal.
  setProp(Tools, "Visible", "Yes");
  setVisible(Tools, 0);
  EXPECT_EQ(prop(Tools, "Visible"), "No");
  EXPECT_EQ(signalsSoFar(), before + 1);
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
}

TEST_F(BarVisibility, ADockedBarSwitchesItsControlAndTheFormLaysOutAgain) {
  const int formatTop = bar(Format)->top();
  setVisible(File, 0);
  EXPECT_FALSE(bar(File)->visible());
  EXPECT_EQ(prop(File, "Visible"), "No");
  EXPECT_EQ(bar(Format)->top(), 0) << "REFORMAT moved the next bar up";
  setVisible(File, -1);
  EXPECT_TRUE(bar(File)->visible());
  EXPECT_EQ(bar(Format)->top(), formatTop);

  // Only -1 shows and only 0 hides; "YES" counts as shown here but not for KaTIsVisible.
  const size_t before = signalsSoFar();
  setVisible(File, 1);
  setVisible(File, -1);
  setProp(Draw, "Visible", "YES");
  setVisible(Draw, -1);
  EXPECT_EQ(signalsSoFar(), before);
  EXPECT_EQ(isVisible(Draw), 0);
  EXPECT_EQ(isVisible(File), -1);

  // "FLOATING" is not "Floating": the control is switched directly, no palette opens.
  setProp(Draw, "State", "FLOATING");
  setVisible(Draw, 0);
  setVisible(Draw, -1);
  EXPECT_TRUE(bar(Draw)->visible());
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
}

}  // namespace
}  // namespace zadeve::host
