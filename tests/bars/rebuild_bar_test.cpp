#include <gtest/gtest.h>

#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using RebuildBar = support::ToolbarTest;

TEST_F(RebuildBar, RefillsShowsAndSignalsTheForm) {
  writeIni(toolbarSection("Edit", {"!GAP"}));
  auto form = formWithBars({"Name=Edit;Home=LEFT;Visible=No;State=Floating"});
  auto bar = form->bar(0);
  Variant visibleWhenSignalled;
  form->onSignal([&](const std::string&) { visibleWhenSignalled = bar->property("Visible"); });
  automation::callMethod(*lib, "KaTRebuildBar", {Variant(ObjectRef(bar))});
  // Filled from its section and hidden by its state keys, then shown regardless.
  EXPECT_EQ(bar->count("AddGap"), 1);
  EXPECT_EQ(bar->log("Visible"), (Lines{"Visible =(False:Boolean)", "Visible =(True:Boolean)"}));
  EXPECT_EQ(bar->property("Tag"), Variant("Name=Edit;Home=LEFT;Visible=Yes;State=Floating"));
  EXPECT_EQ(form->signals, Lines{"RebuiltBar"});
  EXPECT_EQ(visibleWhenSignalled, Variant(true));
}

}  // namespace
}  // namespace zadeve::core
