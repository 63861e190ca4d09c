#include <gtest/gtest.h>

#include "automation/error.h"
#include "bars/bars_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::core {
namespace {

using automation::Arg;
using support::FakeObject;

// A palette form as the palettes will be: its one bar is element 0, it names the host
// form it belongs to, and unloading it runs KaTUnloadBars for itself.
class UnloadBars : public BarsTest {
 protected:
  Ref<FakeForm> palette(const Ref<FakeForm>& target, bool unloadRemovesItsBar = true) {
    auto p = makeObject<FakeForm>("frmToolPalette");
    p->set("targetForm", Variant(ObjectRef(target)));
    FakeForm* self = p.get();
    p->on("Unload", [this, self, unloadRemovesItsBar](FakeObject&, std::span<Arg>) {
      unloadOrder.push_back(self);
      if (unloadRemovesItsBar) lib->KaTUnloadBars(ObjectRef(self));
      return Variant();
    });
    palettes.push_back(p);
    return p;
  }

  void manage(std::initializer_list<Ref<FakeToolbar>> bars) {
    for (const auto& b : bars) tbm->items.push_back(ObjectRef(b));
  }
  std::vector<ObjectRef> managed() const { return tbm->items; }

  Ref<FakeForm> host = formWithBars({"Name=A", "Name=B"});
  Ref<FakeForm> other = formWithBars({"Name=C"});
  std::vector<Ref<FakeForm>> palettes;
  std::vector<FakeForm*> unloadOrder;
};

TEST_F(UnloadBars, OnAPaletteOnlyItsOwnBarsLeave) {
  auto pal = palette(host);
  manage({host->bar(0), pal->bar(0), host->bar(1)});
  lib->KaTUnloadBars(pal);
  EXPECT_EQ(managed(), (std::vector<ObjectRef>{host->bar(0), host->bar(1)}));
  EXPECT_TRUE(unloadOrder.empty());
  EXPECT_EQ(pal->property("Tag"), Variant(""));
}

TEST_F(UnloadBars, OnAHostFormItsBarsLeaveAndItsPalettesCloseWithoutDocking) {
  auto first = palette(host);
  auto second = palette(host);
  auto foreign = palette(other);
  manage({host->bar(0), first->bar(0), other->bar(0), host->bar(1), second->bar(0), foreign->bar(0)});
  tbm->clearCalls();

  lib->KaTUnloadBars(host);

  EXPECT_EQ(managed(), (std::vector<ObjectRef>{other->bar(0), foreign->bar(0)}));
  EXPECT_EQ(unloadOrder, (std::vector<FakeForm*>{second.get(), first.get()}));
  EXPECT_EQ(first->property("Tag"), Variant("DONTDOCK"));
  EXPECT_EQ(second->property("Tag"), Variant("DONTDOCK"));
  EXPECT_EQ(foreign->property("Tag"), Variant(""));
  EXPECT_EQ(foreign->count("Unload"), 0);
  // Both walks run from the last position down and pass positions by reference.
  auto log = tbm->log();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(log[0], "Count()");
  EXPECT_EQ(log[1], "ItemAsObject(&6:Integer)");
  EXPECT_EQ(log[2], "ItemAsObject(&5:Integer)");
  EXPECT_EQ(log[3], "ItemAsObject(&4:Integer)");
  EXPECT_EQ(log[4], "Remove(&4:Integer)");
}

TEST_F(UnloadBars, APaletteThatKeepsItsBarIsClosedOnce) {
  auto stubborn = palette(host, /*unloadRemovesItsBar=*/false);
  auto normal = palette(host);
  manage({stubborn->bar(0), normal->bar(0)});
  lib->KaTUnloadBars(host);
  EXPECT_EQ(unloadOrder, (std::vector<FakeForm*>{normal.get(), stubborn.get()}));
  EXPECT_EQ(managed(), (std::vector<ObjectRef>{stubborn->bar(0)}));
}

TEST_F(UnloadBars, ErrorsReachTheCallerAndWorkDoneStays) {
  auto orphan = makeObject<FakeToolbar>();  // lies on no form
  manage({host->bar(0), orphan, host->bar(1)});
  // Walk 1 only compares parents; walk 2 asks the orphan's parent for its name.
  EXPECT_AUTOMATION_ERROR(lib->KaTUnloadBars(host), 91, "not set");
  EXPECT_EQ(managed(), (std::vector<ObjectRef>{ObjectRef(orphan)}));

  auto bare = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(bare->KaTUnloadBars(host), 91, "not set");
}

TEST_F(UnloadBars, ReleaseBarsChangesNothing) {
  manage({host->bar(0), host->bar(1)});
  tbm->clearCalls();
  automation::callMethod(*lib, "KaTReleaseBars", {Variant(ObjectRef(host))});
  EXPECT_EQ(managed().size(), 2u);
  EXPECT_TRUE(tbm->calls().empty());
  EXPECT_TRUE(host->calls().empty());
  automation::callMethod(*lib, "KaTUnloadBars", {Variant(ObjectRef(host))});
  EXPECT_TRUE(managed().empty());
}

}  // namespace
}  // namespace zadeve::core
