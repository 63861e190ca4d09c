// A bar's trip from its host form into a palette and back: what the host sees, what the
// bar records, and what the palette lets go.

#include "automation/conversions.h"
#include "support/automation_assert.h"
#include "support/palette_fixture.h"

namespace zadeve::support {
namespace {

using automation::makeObject;
using automation::toString;
using platform::GWL_HWNDPARENT;

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

// The Float item and a dismissed menu change nothing; a library's disabling hides the
// menu from every palette.
TEST_F(FloatDock, TheFloatItemOrADismissedMenuChangeNothingAndADisabledMenuIsNotOffered) {
  auto palette = floatBar();
  auto menu = [&] { palette->controlEvent(*palette->bar(), "BarContextMenu", {}); };
  screen->pickInNextMenu("Float");
  menu();
  menu();  // dismissed
  EXPECT_TRUE(palette->loaded());
  EXPECT_EQ(palette->dockRequested(), 0);
  EXPECT_EQ(screen->menus().size(), 2u);

  auto other = makeObject<core::ZuzuzudLibrary>();
  other->KaTDisableFloatingMenu();
  menu();
  EXPECT_EQ(screen->menus().size(), 2u);
  other->KaTEnableFloatingMenu();
  menu();
  EXPECT_EQ(screen->menus().size(), 3u);
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

TEST_F(FloatDock, HidingAFloatingBarKeepsItFloatingButSavesItsPlace) {
  auto palette = floatBar();
  palette->Move(600, 900, 1920, 720);
  palette->Tag("DONTDOCK");
  palette->unload();
  EXPECT_FALSE(automation::toBoolean(hostBar->property("Visible")));
  EXPECT_EQ(prop(hostBar, "State"), "Floating");
  EXPECT_EQ(prop(hostBar, "FloatPos"), "600,900,1920,720");
  EXPECT_EQ(form->signals, std::vector<std::string>{"REFORMAT"}) << "no second REFORMAT";
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

TEST_F(FloatDock, SignalWordsRefitThePaletteAndAreCleared) {
  auto palette = floatBar();
  for (const char* word : {"rebuiltbar", "Reformat", "REFRESH"}) {
    SCOPED_TRACE(word);
    screen->moveWindow(palette->hWnd(), {96, 96, 96 + 40, 96 + 48});  // too narrow for one row
    const int widthLets = lets(barOf(*palette), "Width");
    palette->Signal(word);
    EXPECT_EQ(palette->Signal(), "");
    const bool refits = std::string(word) != "REFRESH";
    EXPECT_EQ(lets(barOf(*palette), "Width") - widthLets, refits ? 1 : 0);
  }
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

}  // namespace
}  // namespace zadeve::support
