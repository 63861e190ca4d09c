#include <gtest/gtest.h>

#include "automation/error.h"
#include "bars/bars_fixture.h"
#include "support/automation_assert.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

class RebuildBar : public BarsTest {
 protected:
  RebuildBar() {
    dir.write("BARS.INI", "[Toolbar.Edit]\nButtonCount=2\nButton0=!GAP\nButton1=!SEPARATOR\n[Toolbar.Bad]\nButtonCount=x\n");
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), "");
  }
  support::TempDir dir;
  Ref<FakeForm> form = formWithBars({"Name=Edit;Home=LEFT;Visible=No;State=Floating"});
  Ref<FakeToolbar> bar = form->bar(0);
};

TEST_F(RebuildBar, RefillsShowsAndSignalsTheForm) {
  // The form hears of it at once, with the bar already shown.
  Variant visibleWhenSignalled;
  form->onSignal([&](const std::string&) { visibleWhenSignalled = bar->property("Visible"); });

  automation::callMethod(*lib, "KaTRebuildBar", {Variant(ObjectRef(bar))});

  EXPECT_EQ(bar->property("Tag"), Variant("Name=Edit;Home=LEFT;Visible=Yes;State=Floating"));
  EXPECT_EQ(form->signals, (std::vector<std::string>{"RebuiltBar"}));
  EXPECT_EQ(visibleWhenSignalled, Variant(true));
  // Filled from its section, hidden by its state keys, then shown regardless.
  EXPECT_EQ(bar->count("AddGap"), 1);
  EXPECT_EQ(bar->count("AddSeparator"), 1);
  EXPECT_EQ(bar->log("Visible"), (std::vector<std::string>{"Visible =(False:Boolean)", "Visible =(True:Boolean)"}));
  auto log = bar->log();
  EXPECT_EQ(log.front(), "Reset()");
  EXPECT_EQ(log.back(), "parent()");
}

TEST_F(RebuildBar, FailuresReachTheCaller) {
  bar->set("Tag", Variant("Name=Bad"));
  EXPECT_AUTOMATION_ERROR(lib->KaTRebuildBar(bar), 13, "Type mismatch");
  EXPECT_TRUE(form->signals.empty());
  EXPECT_EQ(bar->property("Tag"), Variant("Name=Bad"));

  // A parent without a Signal box: the bar is rebuilt and shown all the same.
  auto plainParent = makeObject<support::FakeObject>("Form");
  plainParent->on("Signal", [](support::FakeObject&, std::span<automation::Arg>) -> Variant {
    automation::raise(automation::err::MemberMissing);
  });
  auto loose = makeObject<FakeToolbar>();
  loose->placeOn(plainParent.get());
  loose->set("Tag", Variant("Name=Edit"));
  EXPECT_AUTOMATION_ERROR(lib->KaTRebuildBar(loose), 438, "support");
  EXPECT_EQ(loose->property("Tag"), Variant("Name=Edit;Visible=Yes"));
  EXPECT_EQ(loose->property("Visible"), Variant(true));
}

}  // namespace
}  // namespace zadeve::core
