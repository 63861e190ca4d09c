// User actions and the events they raise to the form: order, current button, and the
// state a handler sees when it runs.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

class ReVivezavEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    bar->attach(nullptr, &sink);
    addPush(*bar, "Open");                          // 0
    addToggle(*bar, "Bold");                        // 1
    addCombo(*bar, "Font", "Arial;Courier;Times");  // 2
    addSpin(*bar, "Zoom", 110, 10, 120, 15);        // 3
    addPanel(*bar, "Status", "");                   // 4
    callMethod(*bar, "AddGap");                     // 5
    callMethod(*bar, "AddMenu", {Variant("File")});  // 6
    callMethod(*bar, "AddMenuItem", {Variant("Save"), Variant(""), Variant(""), Variant("Save")});  // 7
    select(*bar, 0);
  }

  std::vector<std::string> names() const {
    std::vector<std::string> n;
    for (const auto& e : sink.events) n.push_back(e.name);
    return n;
  }

  Ref<ReVivezav> bar = newBar();
  RecordingSink sink;
};

TEST_F(ReVivezavEvents, EachActionMakesItsButtonCurrentAndSetsItsStateBeforeTheEvent) {
  bar->setFlags(4, BF_BUMP);  // a raised panel still acts
  for (int32_t i : {4, 0, 1, 1, 7}) EXPECT_TRUE(bar->click(i)) << i;
  EXPECT_TRUE(bar->pick(2, 2));
  EXPECT_TRUE(bar->contextMenu(150, 75));  // leaves the current button
  // Event, then the current button's tag, flags and list index as the handler reads them.
  std::vector<std::string> seen;
  for (const auto& e : sink.events)
    seen.push_back(e.name + " " + e.tag + " " + std::to_string(e.flags) + " " + std::to_string(e.listIndex));
  EXPECT_EQ(seen, (std::vector<std::string>{"ButtonClick Status 4 -1", "ButtonClick Open 0 -1",
                                            "ButtonClick Bold 130 -1", "ButtonClick Bold 2 -1", "ButtonClick Save 0 -1",
                                            "ButtonClick Font 0 2", "BarContextMenu Font 0 2"}));
  EXPECT_TRUE(sink.events[1].args.empty());
  EXPECT_EQ(sink.events[6].args,
            (std::vector<Variant>{Variant(int16_t{2}), Variant(int16_t{0}), Variant(150.0f), Variant(75.0f)}));
}

TEST_F(ReVivezavEvents, SpinAndEditEventsCarryTheNewValueByReference) {
  bar->spinUp(3);    // 110 + 15, held at 120
  bar->spinDown(3);  // 105
  bar->typeValue(3, 42.5f);
  bar->commitValue(3);
  ASSERT_EQ(names(), (std::vector<std::string>{"ButtonSpinUp", "ButtonSpinDown", "ButtonChange", "ButtonValue"}));
  const float expected[] = {120, 105, 42.5f, 42.5f};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(sink.events[i].args, std::vector<Variant>{Variant(expected[i])}) << sink.events[i].name;
    EXPECT_EQ(sink.events[i].tag, "Zoom");
  }
  // A handler may correct the value; the range still holds.
  sink.handler = [](ReVivezav&, std::span<Arg> args) { args[0].value() = Variant(500.0); };
  bar->typeValue(3, 60);
  EXPECT_EQ(bar->item(3).spin.value, 120);
}

TEST_F(ReVivezavEvents, NothingHappensOnItemsThatCannotAct) {
  for (int32_t i : {1, 2, 3, 4}) bar->setEnabled(i, false);
  bar->setItemVisible(0, false);
  bar->setItemVisible(6, false);
  for (int32_t i : {0, 1, 4, 5, 6, 7}) EXPECT_FALSE(bar->click(i)) << i;  // 6 opens, 7 sits in a hidden menu
  EXPECT_FALSE(bar->pick(2, 0));
  EXPECT_FALSE(bar->spinUp(3));
  EXPECT_EQ(bar->item(1).flags & BF_ON, 0);
  EXPECT_EQ(bar->item(2).combo.listIndex, -1);
  EXPECT_EQ(bar->item(3).spin.value, 110);

  bar->setEnabled(4, true);
  letProperty(*bar, "Visible", false);  // the whole bar hidden
  EXPECT_FALSE(bar->click(4));
  EXPECT_FALSE(bar->contextMenu(0, 0));
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

TEST_F(ReVivezavEvents, HandlerErrorsReachWhoeverActedAndNoSinkIsNoError) {
  sink.handler = [](ReVivezav&, std::span<Arg>) { automation::raise(438); };
  EXPECT_AUTOMATION_ERROR(bar->click(0), 438, "doesn't support");
  bar->detach();
  EXPECT_TRUE(bar->click(1));
  EXPECT_TRUE(bar->item(1).on());
}

}  // namespace
}  // namespace zadeve::vizevore::testing
