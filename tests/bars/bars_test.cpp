// A form's bars once set up: property strings, docking layout, rebuild, copied state, unloading.

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "support/automation_assert.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeForm;
using support::FakeToolbar;
using BarProperties = support::ToolbarTest;
using CopyBarState = support::ToolbarTest;
using RebuildBar = support::ToolbarTest;

Ref<FakeToolbar> barWithTag(const std::string& tag) {
  auto bar = makeObject<FakeToolbar>();
  bar->set("Tag", Variant(tag));
  return bar;
}

TEST_F(BarProperties, GetFindsTheFirstKeyFollowedByEqualsWithCaseAndSetReplacesInPlaceOrAppends) {
  const std::tuple<const char*, const char*, Variant> cases[] = {
      {"Name=Homer;Home=LEFT", "Home", Variant("LEFT")}, {"Name=A;Home=LEFT", "Visible", Variant(int16_t(3))},
      {"FloatPos=1,2,3,4", "Pos", Variant("1,2,3,4")},   {"Name=", "Name", Variant("")},
      {"Home=left", "home", Variant(int16_t(3))},        {"Name=A;Name=B", "Name", Variant("A")},
  };
  for (const auto& [tag, key, expected] : cases) {
    Variant k(key), dv(int16_t(3));  // the default keeps its type
    EXPECT_EQ(automation::callMethod(*lib, "KaTGetProp", {Variant(ObjectRef(barWithTag(tag))), byRef(k), byRef(dv)}),
              expected)
        << tag << " / " << key;
  }
  // Positions are 16-bit: a field found beyond 32767 overflows, a key not found does not.
  auto huge = barWithTag(std::string(40000, 'x') + ";Name=Far");
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(huge), automation::err::Overflow, "Overflow");
  EXPECT_EQ(lib->KaTGetProp(huge, "Home", Variant("d")), Variant("d"));
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(barWithTag("Name=" + std::string(40000, 'y'))), 6, "Overflow");
  // The ";" of a key is where its value ends, before the value begins.
  EXPECT_AUTOMATION_ERROR(lib->KaTGetProp(barWithTag("Name=A;a;b=1"), "a;b", Variant("d")),
                          automation::err::InvalidCall, "Invalid procedure call");

  // Set replaces in place or appends.
  const std::tuple<const char*, const char*, Variant, const char*> setCases[] = {
      {"Home=LEFT;Name=A", "Home", Variant("TOP"), "Home=TOP;Name=A"}, {";", "Visible", Variant("Yes"), ";Visible=Yes"},
      {"Name=A;Home=LEFT", "Visible", Variant(true), "Name=A;Home=LEFT;Visible=True"},
      {"Name=A;", "Visible", Variant("Yes"), "Name=A;;Visible=Yes"}};
  for (const auto& [before, key, value, after] : setCases) {
    auto bar = barWithTag(before);
    lib->KaTSetProp(bar, key, value);
    EXPECT_EQ(bar->property("Tag"), Variant(after)) << before << " / " << key;
  }
}

TEST_F(CopyBarState, ATypeMismatchIsIgnoredAndAnythingElseReportedByNumber) {
  auto from = makeObject<FakeToolbar>();
  const std::string tail = "'.\r\nMay have been caused by editing BARS.INI while running.";
  const std::pair<int32_t, Lines> cases[] = {
      {0, {}},  // nothing raised
      {automation::err::TypeMismatch, {}},
      {automation::err::Subscript, {"Problem while restoring bar state: '9" + tail}},
      {automation::err::ObjectNotSet, {"Problem while restoring bar state: '91" + tail}},  // the target is Nothing
  };
  for (const auto& [raised, messages] : cases) {
    app->messages.clear();
    auto to = makeObject<FakeToolbar>();
    if (raised) to->on("CopyStateFromReVivezavAsObject", refuse(raised));
    ObjectRef target = raised == automation::err::ObjectNotSet ? nullptr : ObjectRef(to);
    automation::callMethod(*lib, "KaTCopyBarState", {Variant(ObjectRef(from)), Variant(target)});
    EXPECT_EQ(app->messages, messages) << raised;
    if (raised == 0) {  // the target takes over the source's states
      EXPECT_EQ(to->log(), Lines{"CopyStateFromReVivezavAsObject(&<ReVivezav>)"});
      EXPECT_TRUE(to->calls().at(0).args.at(0).object() == from);
    }
  }
  EXPECT_TRUE(from->calls().empty());
}

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

// A palette form as the palettes will be: its one bar is element 0, it names the host
// form it belongs to, and unloading it runs KaTUnloadBars for itself.
class UnloadBars : public support::ToolbarTest {
 protected:
  Ref<FakeForm> palette(const Ref<FakeForm>& target, bool unloadRemovesItsBar = true) {
    auto p = makeObject<FakeForm>("frmToolPalette");
    p->set("targetForm", Variant(ObjectRef(target)));
    p->on("Unload", [this, self = p.get(), unloadRemovesItsBar](support::FakeObject&, std::span<automation::Arg>) {
      unloadOrder.push_back(self);
      if (unloadRemovesItsBar) lib->KaTUnloadBars(ObjectRef(self));
      return Variant();
    });
    return p;
  }
  Ref<FakeForm> host = formWithBars({"Name=A", "Name=B"}), other = formWithBars({"Name=C"});
  std::vector<FakeForm*> unloadOrder;
};

TEST_F(UnloadBars, OnAHostFormItsBarsLeaveAndItsPalettesCloseWithoutDocking) {
  using Bars = std::vector<ObjectRef>;
  auto first = palette(host), second = palette(host), foreign = palette(other);
  tbm->items = {host->bar(0), first->bar(0), other->bar(0), host->bar(1), second->bar(0), foreign->bar(0)};
  automation::callMethod(*lib, "KaTUnloadBars", {Variant(ObjectRef(host))});
  EXPECT_EQ(tbm->items, (Bars{other->bar(0), foreign->bar(0)}));
  EXPECT_EQ(unloadOrder, (std::vector<FakeForm*>{second.get(), first.get()}));
  EXPECT_EQ((std::vector{first->property("Tag"), second->property("Tag"), foreign->property("Tag")}),
            (std::vector{Variant("DONTDOCK"), Variant("DONTDOCK"), Variant("")}));
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

struct LayoutCase {
  const char* title;
  std::vector<std::string> tags;    // "-" before a tag hides the bar
  std::vector<std::string> placed;  // see placement(); "gap" for a missing element
  std::array<int16_t, 4> free;      // vl, vt, vr, VB
  std::function<void(FakeForm&)> arrange = nullptr;
};

// Fake bars are 330 twips deep lying and 420 standing; the form is 9000 x 6000, its
// pixels 15 x 12 twips. The last bottom bar gives back its pixel (5340 + 12); the right
// edge stops a pixel short. The first failure ends the pass silently; the pixel
// adjustments still apply.
using DockingLayout = support::ToolbarTest;

TEST_F(DockingLayout, PlacesBarsAlongTheEdgesInIndexOrderUntilTheFirstFailure) {
  const LayoutCase cases[] = {
      {"all four edges: each bar fits inside those before it and flags the edges it meets",
       {"Home=LEFT", "Home=RIGHT", "Home=TOP", "Home=RIGHT", "Home=BOTTOM", "Home=BOTTOM"},
       {"0,0 420x6000 e2 V", "8580,0 420x6000 e2 V", "420,0 8160x330 e7 H z", "8160,330 420x5670 e6 V",
        "420,5682 7740x330 e5 H", "420,5352 7740x330 e13 H"},
       {420, 330, 8160 - PixelX, 5352}},
      {"left bars after a bottom bar stop above it; any case of Home docks",
       {"Home=BOTTOM", "Home=Left", "Home=left"},
       {"0,5682 9000x330 e0 H", "0,0 420x5670 e10 V", "420,0 420x5670 e11 V"},
       {840, 0, 9000 - PixelX, 5682}},
      {"a sketch bar, in any case, takes the form's bottom edge whatever lies there",
       {"Home=BOTTOM", "Name=sketch;Home=bottom"},
       {"0,5682 9000x330 e0 H", "0,5670 9000x330 e8 H"},
       {0, 0, 9000 - PixelX, 5670}},
      {"hidden bars and unknown edges are left where they are; no Home means top",
       {"-Home=TOP", "Home=Middle", "Name=NoHome", "-Home=BOTTOM"},
       {"-", "-", "0,0 9000x330 e2 H z", "-"},
       {0, 330, 9000 - PixelX, 6000}},
      {"a gap in the bar array",
       {"Home=TOP", "Home=TOP", "Home=TOP"},
       {"0,0 9000x330 e2 H z", "gap", "-"},
       {0, 330, 9000 - PixelX, 6000},
       [](FakeForm& f) { f.bars().drop(1); }},
      {"an edge leaving the 16-bit range",
       {"Home=BOTTOM", "Home=TOP", "Home=TOP", "Home=LEFT"},
       {"0,5682 9000x330 e0 H", "0,0 9000x20000 e2 H z", "0,20000 9000x20000 e2 H z", "-"},
       {0, 20000, 9000 - PixelX, 5682},
       [](FakeForm& f) { f.bar(1)->horizontalDepth = f.bar(2)->horizontalDepth = 20000; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    Lines tags;
    for (const auto& t : c.tags) tags.push_back(t.substr(t.starts_with("-")));
    auto form = formWithBars(tags);
    for (int16_t i = 0; i < int16_t(tags.size()); ++i)
      form->bar(i)->set("Visible", Variant(!c.tags[size_t(i)].starts_with("-")));
    if (c.arrange) c.arrange(*form);
    std::array<int16_t, 4> free{-1, -1, -1, -1};
    lib->KaTLayout(ObjectRef(form), free[0], free[1], free[2], free[3]);
    EXPECT_EQ(free, c.free);
    Lines placed;
    for (int16_t i = 0; i < int16_t(tags.size()); ++i) placed.push_back(form->bar(i) ? placement(*form->bar(i)) : "gap");
    EXPECT_EQ(placed, c.placed);
  }
}

}  // namespace
}  // namespace zadeve::core
