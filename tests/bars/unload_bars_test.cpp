#include <gtest/gtest.h>

#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeForm;
using Bars = std::vector<ObjectRef>;

// A palette form as the palettes will be: its one bar is element 0, it names the host
// form it belongs to, and unloading it runs KaTUnloadBars for itself.
class UnloadBars : public support::ToolbarTest {
 protected:
  Ref<FakeForm> palette(const Ref<FakeForm>& target, bool unloadRemovesItsBar = true) {
    auto p = makeObject<FakeForm>("frmToolPalette");
    p->set("targetForm", Variant(ObjectRef(target)));
    FakeForm* self = p.get();
    p->on("Unload", [this, self, unloadRemovesItsBar](support::FakeObject&, std::span<automation::Arg>) {
      unloadOrder.push_back(self);
      if (unloadRemovesItsBar) lib->KaTUnloadBars(ObjectRef(self));
      return Variant();
    });
    return p;
  }

  Ref<FakeForm> host = formWithBars({"Name=A", "Name=B"});
  Ref<FakeForm> other = formWithBars({"Name=C"});
  std::vector<FakeForm*> unloadOrder;
};

TEST_F(UnloadBars, OnAHostFormItsBarsLeaveAndItsPalettesCloseWithoutDocking) {
  auto first = palette(host), second = palette(host), foreign = palette(other);
  tbm->items = {host->bar(0), first->bar(0), other->bar(0), host->bar(1), second->bar(0), foreign->bar(0)};
  automation::callMethod(*lib, "KaTUnloadBars", {Variant(ObjectRef(host))});

  EXPECT_EQ(tbm->items, (Bars{other->bar(0), foreign->bar(0)}));
  EXPECT_EQ(unloadOrder, (std::vector<FakeForm*>{second.get(), first.get()}));
  EXPECT_EQ(first->property("Tag"), Variant("DONTDOCK"));
  EXPECT_EQ(second->property("Tag"), Variant("DONTDOCK"));
  EXPECT_EQ(foreign->property("Tag"), Variant(""));
  // Both walks run from the last position down and pass positions by reference.
  Lines log = tbm->log();
  log.resize(5);
  EXPECT_EQ(log, (Lines{"Count()", "ItemAsObject(&6:Integer)", "ItemAsObject(&5:Integer)", "ItemAsObject(&4:Integer)",
                        "Remove(&4:Integer)"}));

  // A palette whose unloading keeps its bar is still closed only once.
  unloadOrder.clear();
  auto stubborn = palette(host, /*unloadRemovesItsBar=*/false), normal = palette(host);
  tbm->items = {stubborn->bar(0), normal->bar(0)};
  lib->KaTUnloadBars(host);
  EXPECT_EQ(unloadOrder, (std::vector<FakeForm*>{normal.get(), stubborn.get()}));
  EXPECT_EQ(tbm->items, Bars{stubborn->bar(0)});
}

}  // namespace
}  // namespace zadeve::core
