// User actions and the events they raise to the form: order, current button, and the
// state a handler sees when it runs.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;

class ReVivezavEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    bar->attach(nullptr, &sink);
    addPush(*bar, "Open");                                // 0
    addToggle(*bar, "Bold");                              // 1
    addCombo(*bar, "Font", "Arial;Courier;Times");        // 2
    addSpin(*bar, "Zoom", 110, 10, 120, 15);              // 3
    addPanel(*bar, "Status", "");                         // 4
    callMethod(*bar, "AddGap");                           // 5
    callMethod(*bar, "AddMenu", {Variant("File")});      // 6
    callMethod(*bar, "AddMenuItem", {Variant("Save"), Variant(""), Variant(""), Variant("Save")});  // 7
    letProperty(*bar, "buttonIndex", int16_t{0});
  }

  Ref<ReVivezav> bar = newBar();
  RecordingSink sink;
};

TEST_F(ReVivezavEvents, ClickMakesTheButtonCurrentBeforeButtonClick) {
  EXPECT_TRUE(bar->click(4));
  EXPECT_TRUE(bar->click(0));
  ASSERT_EQ(sink.names(), (std::vector<std::string>{"ButtonClick", "ButtonClick"}));
  EXPECT_EQ(sink.events[0].tag, "Status");
  EXPECT_EQ(sink.events[1].current, 0);
  EXPECT_EQ(sink.events[1].tag, "Open");
  EXPECT_TRUE(sink.events[1].args.empty());
  EXPECT_EQ(sink.events[1].flags & BF_ON, 0);  // a plain push button does not latch
}

TEST_F(ReVivezavEvents, AToggleLatchesBeforeItsClickAndReleasesOnTheNext) {
  bar->click(1);
  bar->click(1);
  ASSERT_EQ(sink.events.size(), 2u);
  EXPECT_EQ(sink.events[0].flags, BF_TOGGLE | BF_ON);
  EXPECT_EQ(sink.events[1].flags, BF_TOGGLE);
}

TEST_F(ReVivezavEvents, PickingAnEntrySelectsItBeforeButtonClick) {
  EXPECT_TRUE(bar->pick(2, 2));
  ASSERT_EQ(sink.names(), std::vector<std::string>{"ButtonClick"});
  EXPECT_EQ(sink.events[0].tag, "Font");
  EXPECT_EQ(sink.events[0].listIndex, 2);
  EXPECT_EQ(bar->item(2).combo.selectedText(), "Times");
}

TEST_F(ReVivezavEvents, SpinAndEditEventsCarryTheNewValueByReference) {
  bar->spinUp(3);    // 110 + 15, held at 120
  bar->spinDown(3);  // 105
  bar->typeValue(3, 42.5f);
  bar->commitValue(3);
  ASSERT_EQ(sink.names(),
            (std::vector<std::string>{"ButtonSpinUp", "ButtonSpinDown", "ButtonChange", "ButtonValue"}));
  const float expected[] = {120, 105, 42.5f, 42.5f};
  for (size_t i = 0; i < 4; ++i) {
    ASSERT_EQ(sink.events[i].args.size(), 1u);
    EXPECT_EQ(sink.events[i].args[0], Variant(expected[i])) << sink.events[i].name;
    EXPECT_EQ(sink.events[i].tag, "Zoom");
  }
}

TEST_F(ReVivezavEvents, AHandlerMayCorrectTheValueItIsGiven) {
  sink.handler = [](ReVivezav&, std::span<Arg> args) { args[0].value() = Variant(int16_t{50}); };
  bar->spinUp(3);
  EXPECT_EQ(bar->item(3).spin.value, 50);
  sink.handler = [](ReVivezav&, std::span<Arg> args) { args[0].value() = Variant(500.0); };
  bar->typeValue(3, 60);
  EXPECT_EQ(bar->item(3).spin.value, 120);  // still within the range
}

TEST_F(ReVivezavEvents, ContextMenuPassesFourArgumentsAndLeavesTheCurrentButton) {
  letProperty(*bar, "buttonIndex", int16_t{4});
  EXPECT_TRUE(bar->contextMenu(150, 75));
  ASSERT_EQ(sink.names(), std::vector<std::string>{"BarContextMenu"});
  EXPECT_EQ(sink.events[0].args,
            (std::vector<Variant>{Variant(int16_t{2}), Variant(int16_t{0}), Variant(150.0f), Variant(75.0f)}));
  EXPECT_EQ(bar->currentButton(), 4);
}

TEST_F(ReVivezavEvents, MenusOpenAndTheirEntriesClick) {
  EXPECT_FALSE(bar->click(6));
  EXPECT_TRUE(bar->click(7));
  ASSERT_EQ(sink.events.size(), 1u);
  EXPECT_EQ(sink.events[0].tag, "Save");
  letProperty(*button(*bar, "File"), "Visible", int16_t{0});
  EXPECT_FALSE(bar->click(7));  // the menu that holds it is hidden
}

TEST_F(ReVivezavEvents, NothingHappensOnItemsThatCannotAct) {
  letProperty(*bar, "buttonIndex", int16_t{1});
  letProperty(*bar, "ButtonEnabled", false);
  letProperty(*button(*bar, "Open"), "Visible", false);
  bar->setEnabled(2, false);
  bar->setEnabled(3, false);
  EXPECT_FALSE(bar->click(0));
  EXPECT_FALSE(bar->click(1));
  EXPECT_FALSE(bar->click(5));  // a gap
  EXPECT_FALSE(bar->pick(2, 0));
  EXPECT_FALSE(bar->spinUp(3));
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(bar->item(1).flags & BF_ON, 0);
  EXPECT_EQ(bar->item(2).combo.listIndex, -1);
  EXPECT_EQ(bar->item(3).spin.value, 110);

  letProperty(*bar, "Visible", false);
  EXPECT_FALSE(bar->click(4));
  EXPECT_FALSE(bar->contextMenu(0, 0));
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(ReVivezavEvents, ActionsThatDoNotFitTheItemAreErrors) {
  EXPECT_AUTOMATION_ERROR(bar->click(8), 9, "out of range");
  EXPECT_AUTOMATION_ERROR(bar->pick(0, 0), 5, "not a combo");
  EXPECT_AUTOMATION_ERROR(bar->pick(2, 3), 9, "List index 3");
  EXPECT_AUTOMATION_ERROR(bar->spinUp(2), 5, "not a spin");
  EXPECT_AUTOMATION_ERROR(bar->commitValue(-1), 9, "out of range");
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(ReVivezavEvents, AHandlerMayEmptyTheBarOrReleaseItDuringItsEvent) {
  sink.handler = [](ReVivezav& source, std::span<Arg>) { callMethod(source, "Reset"); };
  EXPECT_TRUE(bar->spinUp(3));
  EXPECT_EQ(bar->itemCount(), 0);

  // The form lets go of its only reference while the event runs.
  auto* raw = bar.get();
  addPush(*raw, "Close");
  sink.handler = [this](ReVivezav&, std::span<Arg>) { bar.reset(); };
  EXPECT_TRUE(raw->click(0));
  EXPECT_FALSE(bar);
}

TEST_F(ReVivezavEvents, WithoutASinkActionsStillChangeTheBar) {
  bar->detach();
  EXPECT_TRUE(bar->click(1));
  EXPECT_TRUE(bar->item(1).on());
  EXPECT_TRUE(sink.events.empty());
}

TEST_F(ReVivezavEvents, HandlerErrorsReachWhoeverActed) {
  sink.handler = [](ReVivezav&, std::span<Arg>) { automation::raise(438); };
  EXPECT_AUTOMATION_ERROR(bar->click(0), 438, "doesn't support");
}

}  // namespace
}  // namespace zadeve::vizevore::testing
