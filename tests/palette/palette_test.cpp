// Floating palettes on recording host fakes: a bar's trip from its host form into a
// palette and back, button events routed to the host as commands, and sizing by the user.

#include <climits>

#include "automation/conversions.h"
#include "support/automation_assert.h"
#include "support/palette_fixture.h"

namespace zadeve::support {
namespace {

using automation::makeObject;
using automation::toString;
using automation::varTypeName;
using platform::GWL_HWNDPARENT;
using platform::PixelRect;
namespace e = platform::wmsz;

// A bar's trip from its host form into a palette and back: what the host sees, what the
// bar records, and what the palette lets go.

using FloatDock = PaletteTest;

TEST_F(FloatDock, FloatingHidesTheHostBarAndShowsItsPaletteOwnedByTheForm) {
  form->onSignal([&](const std::string& word) {
    EXPECT_EQ(word, "REFORMAT");
    EXPECT_FALSE(automation::toBoolean(hostBar->property("Visible"))) << "hidden before the host lays out";
  });
  auto palette = floatBar();

  EXPECT_EQ(form->signals, std::vector<std::string>{"REFORMAT"});
  EXPECT_EQ(palette->Caption(), "Draw");
  EXPECT_TRUE(palette->Visible());
  EXPECT_EQ(screen->getWindowLong(palette->hWnd(), GWL_HWNDPARENT), hostWindow);
  EXPECT_EQ(broadcasts, std::vector<std::string>{"REFRESHTOOLBAR (palette shown)"});
  EXPECT_EQ(prop(hostBar, "State"), "Floating");
  EXPECT_EQ(toString(palette->bar()->invoke("Tag", automation::InvokeKind::PropertyGet, {})),
            "Name=Draw;Home=LEFT;Visible=Yes;State=Floating");
  ASSERT_EQ(tbm->items.size(), 2u);
  EXPECT_EQ(tbm->items[1], palette->bar());
  EXPECT_EQ(palette->sourceBar(), ObjectRef(hostBar));
  EXPECT_EQ(lib->aBar(), ObjectRef(hostBar));
  // The palette was filled as a palette and took over the host bar's button states.
  EXPECT_EQ(barOf(*palette).count("Reset"), 1);
  EXPECT_EQ(barOf(*palette).log("CopyStateFromReVivezavAsObject").size(), 1u);
  // The hook watches the window; sizing is switched on because windows drag with contents.
  EXPECT_EQ(palette->msg()->hwnd(), palette->hWnd());
  EXPECT_TRUE(palette->msg()->watches(platform::WM_SIZING));
  // The first show fitted it: six items in one row, plus the frame (8 x 26 pixels).
  EXPECT_EQ(rectOf(*palette), (platform::PixelRect{96, 96, 96 + 128, 96 + 48}));

  // Outline dragging leaves sizing messages off.
  form->onSignal(nullptr);
  palette->unload();
  screen->setDragFullWindows(false);
  EXPECT_FALSE(floatBar()->msg()->watches(platform::WM_SIZING));
}

TEST_F(FloatDock, DockingByCloseBoxOrMenuShowsTheHostBarAndRecordsWhereThePaletteWas) {
  for (const char* way : {"close box", "menu"}) {
    SCOPED_TRACE(way);
    form->signals.clear();
    auto palette = floatBar();
    palette->Move(1500, 3000, 1920, 720);
    if (std::string(way) == "menu") {
      screen->pickInNextMenu("Dock");
      palette->controlEvent(*palette->bar(), "BarContextMenu", {});
      EXPECT_EQ(screen->menus().back().items, (std::vector<std::string>{"Float", "Dock"}));
    } else {
      screen->pressCloseBox(palette->hWnd());
    }
    EXPECT_FALSE(palette->loaded());
    EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
    EXPECT_TRUE(automation::toBoolean(hostBar->property("Visible")));
    EXPECT_EQ(prop(hostBar, "State"), "Docked");
    EXPECT_EQ(prop(hostBar, "FloatPos"), "1500,3000,1920,720");
    EXPECT_EQ(form->signals, (std::vector<std::string>{"REFORMAT", "REFORMAT"}));
    EXPECT_EQ(tbm->items.size(), 1u) << "the palette's bar left the toolbar manager";
    EXPECT_EQ(hostBar->log("CopyStateFromReVivezavAsObject").size(), 1u);
    hostBar->clearCalls();
  }
}

TEST_F(FloatDock, ABarFloatsAgainWhereItWasAndBadSavedPositionsReadAsZero) {
  // "abc,,1e3x" reads 0, 0, 1 and a missing 0: no length at all, so one item a row; with
  // no height the fit gives it one.
  const std::pair<const char*, platform::PixelRect> cases[] = {{"1500,3000,1920,720", {100, 200, 228, 248}},
                                                               {"abc,,1e3x", {0, 0, 28, 158}},
                                                               {" 30.6 , -45,1920", {2, -3, 130, 45}}};
  for (const auto& [floatPos, fitted] : cases) {
    SCOPED_TRACE(floatPos);
    lib->KaTSetProp(ObjectRef(hostBar), "FloatPos", Variant(floatPos));
    auto palette = floatBar();
    EXPECT_EQ(rectOf(*palette), fitted);
    palette->unload();
  }
}

TEST_F(FloatDock, AnUnloadedPaletteLetsGoOfTheFormTheBarAndTheLibrary) {
  const auto formRefs = form->refCount(), barRefs = hostBar->refCount(), libRefs = lib->refCount();
  auto palette = floatBar();
  EXPECT_GT(lib->refCount(), libRefs);
  screen->pressCloseBox(palette->hWnd());
  lib->aBar(nullptr);  // the workspace's hand-over, not the palette's
  for (auto& bar : paletteBars) bar->clearCalls();  // the fakes' logs hold their arguments
  EXPECT_EQ(form->refCount(), formRefs);
  EXPECT_EQ(hostBar->refCount(), barRefs);
  EXPECT_EQ(lib->refCount(), libRefs);
  EXPECT_FALSE(palette->targetForm);
  EXPECT_FALSE(palette->theLibrary);
  EXPECT_FALSE(palette->sourceBar());
  EXPECT_FALSE(palette->bar());
  EXPECT_EQ(palette->refCount(), 1u) << "only this test holds it";
  // The palette's window handed its owner back and is gone.
  EXPECT_FALSE(screen->isWindow(palette->hWnd()));
}

TEST_F(FloatDock, FailuresReachTheCallerWithTheStepsBeforeThemDone) {
  // A form without a Signal box: the host bar stays hidden.
  auto bare = makeObject<FakeObject>("Form");
  bare->on("Signal", [](FakeObject&, std::span<Arg>) -> Variant { automation::raise(438); });
  EXPECT_AUTOMATION_ERROR(lib->KaTFloat(ObjectRef(bare), ObjectRef(hostBar)), 438, "");
  EXPECT_FALSE(automation::toBoolean(hostBar->property("Visible")));
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());

  // A toolbar without a Tag: the palette is loaded and named by nothing.
  auto tagless = makeObject<FakeObject>("Toolbar");
  tagless->set("Visible", Variant(true));
  EXPECT_AUTOMATION_ERROR(lib->KaTFloat(ObjectRef(form), ObjectRef(tagless)), 438, "");
  ASSERT_EQ(FrmToolPalette::loadedPalettes().size(), 1u);
  EXPECT_FALSE(FrmToolPalette::loadedPalettes()[0]->Visible());
}

TEST_F(FloatDock, APaletteWithoutItsToolbarControlDoesNotLoad) {
  auto previous = platform::registerControl(FrmToolPalette::ToolbarProgId, nullptr);
  EXPECT_AUTOMATION_ERROR(lib->KaTFloat(ObjectRef(form), ObjectRef(hostBar)), 429, "vizevore.ReVivezav");
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
  EXPECT_EQ(screen->stacking().size(), 1u) << "no window left behind";
  platform::registerControl(FrmToolPalette::ToolbarProgId, previous);
}

// Button events on a palette become commands for the host: what the host finds in its
// application object and the library when "ExecuteCommand" reaches it.

class Routing : public PaletteTest {
 protected:
  Routing() {
    palette = floatBar();
    app->set("aString", Variant("none"));
    reset();
    form->onSignal([this](const std::string& word) {
      if (word == "ExecuteCommand") seen.push_back(state());
    });
  }
  void reset() {
    app->set("aCmdFlag", Variant(int16_t{-5}));
    app->set("aValue", Variant("old"));
    lib->aSpinUp(-1);
    lib->aSpinDown(-2);
    lib->aBar(nullptr);
    seen.clear();
  }

  // What the host can read: the command, its parameters and the library's hand-overs.
  std::string state() const {
    const Variant& v = app->property("aValue");
    return toString(app->property("aString")) + " flag " + toString(app->property("aCmdFlag")) + " value " +
           toString(v) + ":" + std::string(varTypeName(v.type())) + " up " + toString(Variant(lib->aSpinUp())) +
           " down " + toString(Variant(lib->aSpinDown())) + (lib->aBar() == palette->bar() ? " aBar=palette" : "");
  }

  void raise(const char* event, std::optional<float> value = {}) {
    Variant v = value ? Variant(*value) : Variant();
    std::vector<Arg> args;
    if (value) args.push_back(automation::byRef(v));
    palette->controlEvent(*palette->bar(), event, args);
  }

  Ref<FrmToolPalette> palette;
  std::vector<std::string> seen;
};

TEST_F(Routing, EachEventPutsItsCommandInPlaceBeforeSignallingTheHost) {
  struct Case {
    const char* event;
    std::optional<float> value;
    int16_t type, flags, listIndex;
    const char* expected;
  };
  const Case cases[] = {
      {"ButtonClick", {}, 10, 128 | 2, -1, "Bold flag 1 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 10, 2, -1, "Bold flag 0 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 40, 128, 3, "Bold flag 3 value old:String up -1 down -2 aBar=palette"},
      {"ButtonClick", {}, 20, 128, 3, "Bold flag 0 value old:String up -1 down -2 aBar=palette"},
      {"ButtonChange", 12.5f, 30, 0, -1, "Bold_Change flag -5 value 12.5:Single up -1 down -2 aBar=palette"},
      {"ButtonValue", 7.0f, 30, 0, -1, "Bold flag -5 value 7:Single up -1 down -2 aBar=palette"},
      {"ButtonSpinUp", 9.0f, 30, 0, -1, "Bold_SpinUp flag -5 value old:String up 9 down -2 aBar=palette"},
      {"ButtonSpinDown", 3.0f, 30, 0, -1, "Bold_SpinDown flag -5 value old:String up -1 down 3 aBar=palette"},
  };
  auto& bar = barOf(*palette);
  bar.set("ButtonTag", Variant("Bold"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    reset();
    bar.set("ButtonType", Variant(c.type));
    bar.set("PushButtonFlags", Variant(c.flags));
    bar.set("ButtonListIndex", Variant(c.listIndex));
    raise(c.event, c.value);
    EXPECT_EQ(seen, std::vector<std::string>{c.expected});
  }
}

TEST_F(Routing, WithoutAHostFormClicksAndChangesBeepAndSpinsFail) {
  palette->targetForm.reset();
  raise("ButtonClick");
  raise("ButtonChange", 4.0f);
  raise("ButtonValue", 4.0f);
  EXPECT_EQ(screen->beeps(), 3);
  EXPECT_EQ(toString(app->property("aString")), "none");
  EXPECT_AUTOMATION_ERROR(raise("ButtonSpinUp", 8.0f), 91, "");
  EXPECT_EQ(lib->aSpinUp(), 8.0f) << "the steps before the signal stay done";
}

TEST_F(Routing, OnlyAClickIgnoresAFailingHostCommand) {
  form->onSignal([](const std::string&) { automation::raise(5, "the host's command failed"); });
  raise("ButtonClick");
  EXPECT_AUTOMATION_ERROR(raise("ButtonChange", 1.0f), 5, "the host's command failed");
}

TEST_F(Routing, AToolbarWithoutButtonTagStopsTheEventAfterItsValue) {
  barOf(*palette).on("ButtonTag", [](FakeObject&, std::span<Arg>) -> Variant { automation::raise(438); });
  EXPECT_AUTOMATION_ERROR(raise("ButtonChange", 2.5f), 438, "");
  EXPECT_EQ(app->property("aValue"), Variant(2.5f));
  EXPECT_TRUE(seen.empty());
}

// A palette sized by the user: by each edge, horizontal and vertical, with the contents shown
// while dragging (the hook corrects every step) and with an outline (the palette snaps
// when the drag ends). FlowToolbar items are 20 x 22 pixels, six of them; the frame adds
// 8 x 26 pixels.

class Sizing : public PaletteTest {
 protected:
  Ref<FrmToolPalette> floated(bool full, bool vertical) {
    screen->setDragFullWindows(full);
    lib->KaTSetProp(ObjectRef(hostBar), "FloatPos", Variant(""));  // where the last one was: forgotten
    auto palette = floatBar();
    if (vertical) {
      barOf(*palette).set("Vertical", Variant(true));
      palette->Signal("REFORMAT");  // refit as a column: one item high, six deep
    }
    return palette;
  }
};

TEST_F(Sizing, EveryEdgeWithContentsShownAndWithAnOutline) {
  struct Case {
    bool vertical;
    int edge;
    PixelRect proposed, full, outline;
  };
  // Horizontal palettes start at 96,96 128 x 48 (one row), vertical ones 140 x 46 (one
  // item a column). Along the toolbar the length re-flows it: 70 pixels wide gives three
  // items a row (68 x 70); 96 pixels high gives three items a column (52 x 86). Across it
  // the size stays.
  const Case cases[] = {
      {false, e::Right, {96, 96, 166, 144}, {96, 96, 164, 166}, {96, 96, 164, 166}},
      {false, e::TopRight, {96, 80, 166, 144}, {96, 80, 164, 150}, {96, 80, 164, 150}},
      {false, e::BottomRight, {96, 96, 166, 160}, {96, 96, 164, 166}, {96, 96, 164, 166}},
      {false, e::Left, {154, 96, 224, 144}, {156, 96, 224, 166}, {154, 96, 222, 166}},
      {false, e::TopLeft, {154, 80, 224, 144}, {156, 80, 224, 150}, {154, 80, 222, 150}},
      {false, e::BottomLeft, {154, 96, 224, 160}, {156, 96, 224, 166}, {154, 96, 222, 166}},
      {false, e::Top, {96, 80, 224, 144}, {96, 80, 224, 128}, {96, 80, 224, 128}},
      {false, e::Bottom, {96, 96, 224, 170}, {96, 96, 224, 144}, {96, 96, 224, 144}},
      {true, e::Bottom, {96, 96, 236, 192}, {184, 96, 236, 182}, {96, 96, 148, 182}},
      {true, e::BottomLeft, {90, 96, 236, 192}, {184, 96, 236, 182}, {90, 96, 142, 182}},
      {true, e::BottomRight, {96, 96, 240, 192}, {188, 96, 240, 182}, {96, 96, 148, 182}},
      {true, e::Top, {96, 46, 236, 142}, {96, 56, 148, 142}, {96, 46, 148, 132}},
      {true, e::TopLeft, {90, 46, 236, 142}, {90, 56, 142, 142}, {90, 46, 142, 132}},
      {true, e::TopRight, {96, 46, 240, 142}, {96, 56, 148, 142}, {96, 46, 148, 132}},
      {true, e::Left, {80, 96, 236, 142}, {80, 96, 220, 142}, {80, 96, 220, 142}},
      {true, e::Right, {96, 96, 250, 142}, {96, 96, 236, 142}, {96, 96, 236, 142}},
  };
  for (const auto& c : cases) {
    for (bool full : {true, false}) {
      SCOPED_TRACE(::testing::Message() << (c.vertical ? "vertical" : "horizontal") << " edge " << c.edge
                                        << (full ? " full" : " outline"));
      auto palette = floated(full, c.vertical);
      screen->dragEdge(palette->hWnd(), c.edge, {c.proposed});
      EXPECT_EQ(rectOf(*palette), full ? c.full : c.outline);
      palette->unload();
    }
  }
}

TEST_F(Sizing, RectangleArithmeticBeyond32BitsIsAnOverflow) {
  auto palette = floated(true, false);
  EXPECT_AUTOMATION_ERROR(screen->dragEdge(palette->hWnd(), e::Right, {{INT_MIN, 0, INT_MAX, 48}}), 6, "Overflow");
  // R - L fits, but the corrected left edge R - 28 does not.
  EXPECT_AUTOMATION_ERROR(screen->dragEdge(palette->hWnd(), e::Left, {{INT_MIN, 0, INT_MIN + 10, 48}}), 6,
                          "Overflow");
}

TEST_F(Sizing, ALayoutThatFailsLeavesThePaletteBusyForGood) {
  auto palette = floated(true, false);
  barOf(*palette).on("IdealLength", [](FakeObject&, std::span<Arg>) -> Variant { automation::raise(5, "broken"); });
  int32_t w = 1000, h = 1000;
  EXPECT_AUTOMATION_ERROR(palette->LayoutPalette(w, h), 5, "broken");
  EXPECT_EQ(palette->layoutBusy(), -1);
  const auto rect = rectOf(*palette);
  palette->LayoutPalette(w, h);
  EXPECT_EQ(w, 1000);
  EXPECT_EQ(h, 1000);
  screen->dragEdge(palette->hWnd(), e::Right, {{96, 96, 300, 144}});
  EXPECT_EQ(rectOf(*palette), rect) << "the hook keeps the size it cannot re-flow";
}

TEST(MaxValue, TheGreaterOrOnATieTheSecond) {
  using automation::Variant;
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(3.0)), Variant(int32_t{5}));
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(7.5f)), Variant(7.5f));
  EXPECT_EQ(FrmToolPalette::MaxValue(Variant(int32_t{5}), Variant(5.0)), Variant(5.0));
}

}  // namespace
}  // namespace zadeve::support
