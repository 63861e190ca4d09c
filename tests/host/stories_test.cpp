// The example views on the reference host, as their users meet them: the library's main
// road, showing and hiding bars, the form's window, floating palettes, keeping buttons in
// step by function name, the diagram editor's views, and every member of the library's and
// the workspace's dispatch faces called late-bound. The host's objects come from the public
// headers (include/zadeve/); the installed package is built and run by ./run test. What
// `zadeve call` shows of these roads is the call goldens' (tests/cli).

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "components/po_parser.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "host/desktop_picture.h"
#include "host/form_picture.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/headless_windowing.h"
#include "platform/picture.h"
#include "support/automation_assert.h"
#include "support/headless_screen.h"
#include "support/in_directory.h"
#include "support/temp_dir.h"
#include "workspace/workspace_creation.h"
#include "zadeve/reference_host.h"
#include "zadeve/zadeve.h"

namespace zadeve::host {
namespace {

// The setting of the host stories: a library on the reference host with our real toolbar
// control, its objects made through the public reference host, and the shipped example view
// built on a headless form.

using automation::Arg;
using automation::byRef;
using automation::InvokeKind;
using automation::makeObject;
using automation::ObjectRef;
using automation::objectAs;
using automation::Ref;
using automation::Variant;
using palette::FrmToolPalette;
using platform::HeadlessWindowing;
using platform::PixelRect;
using vizevore::ItemKind;
using vizevore::ReVivezav;
using W = platform::HeadlessWindowing;

inline const std::filesystem::path examples() {
  return std::filesystem::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples";
}
inline Variant i2(int v) { return Variant(int16_t(v)); }
inline Variant i4(int v) { return Variant(int32_t(v)); }

// Closes every palette without docking, then unloads the form. A palette floated through
// a workspace docks on whatever workspace is current when it closes (the default one, in
// a test, with no host objects); the form and the workspace it lays out through keep
// each other until it unloads.
inline void closeWithoutDocking(HeadlessForm& form) {
  for (auto& p : FrmToolPalette::loadedPalettes()) {
    try {
      p->Tag(FrmToolPalette::DontDock);
      p->unload();
    } catch (const automation::AutomationError&) {
    }
  }
  try {
    form.unload();
  } catch (const automation::AutomationError&) {
  }
}

// The library initialised on a configuration (its folder the bitmaps'), with the forms it set
// up; as the host's Form_Unload, each form lets the library go (it may hold one as its scan form).
struct ReferenceHost {
  explicit ReferenceHost(const std::filesystem::path& ini, const std::string& language = {}) {
    reference::registerControls();
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(tbm), ini.string(), (ini.parent_path() / "").string(), language});
    automation::setProperty(*lib, "ShellApplicationObject", app);
  }
  ~ReferenceHost() {
    for (auto& f : forms) closeWithoutDocking(*f);
  }
  Ref<HeadlessForm> setup(const std::string& view, int w = 800, int h = 600, const std::string& name = "frmMain") {
    forms.push_back(objectAs<HeadlessForm>(reference::newForm(name, w, h, lib, app)));
    automation::callMethod(*lib, "KaTSetup", {Variant(forms.back()), view});
    return forms.back();
  }

  support::HeadlessScreen screen{15};
  support::InDirectory cwd;  // KaTSetup makes the bitmap folder current
  std::ostringstream echoed;  // the reports, as the application echoes them
  Ref<core::ZuzuzudLibrary> lib = objectAs<core::ZuzuzudLibrary>(createLibrary());
  Ref<ToolbarManager> tbm = objectAs<ToolbarManager>(reference::newToolbarManager());
  Ref<ShellApplication> app = objectAs<ShellApplication>(reference::newApplication(&echoed));
  std::vector<Ref<HeadlessForm>> forms;
};

// The bars of the example view, by element.
enum Bar { File, Format, Draw, View, Sketch, Status, Tools };

class ExampleView : public ::testing::Test, public ReferenceHost {
 protected:
  static constexpr int Pixel = 15;
  ExampleView() : ReferenceHost(examples() / "BARS.INI") {}

  Ref<ReVivezav> bar(Bar b) const { return form->bar(b); }
  std::string prop(Bar b, const char* key) {
    return automation::toString(lib->KaTGetProp(ObjectRef(bar(b)), key, Variant("-")));
  }

  Ref<HeadlessForm> form = setup("MainView");
};

// The main road: setup of the shipped example view, its reports, the bars' places along
// the edges after a resize, the picture of the form and the form's unload. The places at
// setup, a user's click and the bars' names are the demo's and the call goldens'.

class MainRoad : public ExampleView {
 protected:
  int depth(Bar b) const { return bar(b)->idealDepth(); }
  using Place = std::array<int, 4>;  // left, top, width, height
  Place place(Bar b) const { return {bar(b)->left(), bar(b)->top(), bar(b)->width(), bar(b)->height()}; }

  // Where every docked bar must be on a client area of w x h twips, from the bars' own
  // depths: two top bars, a left and a right bar below them, then at the bottom the
  // sketch bar on the form's edge with the status bar on top of it, both between the
  // side bars.
  void expectLayout(int w, int h) {
    const int top = depth(File) + depth(Format);
    const int left = depth(Draw), right = depth(View);
    EXPECT_EQ(place(File), (Place{0, 0, w, depth(File)}));
    EXPECT_EQ(place(Format), (Place{0, depth(File), w, depth(Format)}));
    EXPECT_EQ(place(Draw), (Place{0, top, left, h - top}));
    EXPECT_EQ(place(View), (Place{w - right, top, right, h - top}));
    EXPECT_EQ(place(Sketch), (Place{left, h - depth(Sketch), w - left - right, depth(Sketch)}));
    EXPECT_EQ(place(Status), (Place{left, h - depth(Sketch) - depth(Status), w - left - right, depth(Status)}));
    EXPECT_EQ(form->freeRectangle(),
              (FreeRectangle{int16_t(left), int16_t(top), int16_t(w - right - Pixel),
                             int16_t(h - depth(Sketch) - depth(Status))}));
  }
};

TEST_F(MainRoad, SetupReportsTheDeliberateProblemsRegistersEveryBarAndUnloadLetsThemGo) {
  ASSERT_EQ(reference::reportCount(app), 2);
  EXPECT_EQ(app->reports()[0].text + "|" + app->reports()[1].text,
            "Toolbar setup error - missing\r\nfunction: Export.|Toolbar setup error - unknown\r\nfunction: !WRAP.");
  EXPECT_EQ(echoed.str(), "Toolbar setup error - missing\nfunction: Export.\nToolbar setup error - unknown\n"
                          "function: !WRAP.\n") << "one line break each";
  EXPECT_TRUE(screen->messages().empty());
  std::vector<ObjectRef> elements;
  for (int i = File; i <= Tools; ++i) elements.push_back(ObjectRef(form->bar(i)));
  EXPECT_EQ(tbm->bars(), elements);
  elements.clear();
  // The Draw bar's shapes came from the application's symbol palette.
  int symbols = 0;
  for (const auto& set : bar(Draw)->imageSets()) symbols += set.name == "Symbols" ? 1 : 0;
  EXPECT_EQ(symbols, 4);
  EXPECT_EQ(app->lastSymbol(), "Diamond");

  Ref<ReVivezav> file = bar(File);
  automation::callMethod(*form, "Unload");
  EXPECT_EQ(tbm->count(), 0) << "the form's bars left the toolbar manager";
  EXPECT_EQ(file->parentForm(), nullptr);
  EXPECT_EQ(file->refCount(), 1u);
}

TEST_F(MainRoad, BothWordsForANewLayoutMakeTheHostLayItsBarsOutAgain) {
  EXPECT_FALSE(form->freeRectangle()) << "setup discards the free rectangle";
  for (auto [word, w, h] : {std::tuple{host_contract::signal::Reformat, 640, 420},
                            std::tuple{host_contract::signal::RebuiltBar, 720, 480}}) {
    SCOPED_TRACE(word);
    form->resize(w, h);
    automation::letProperty(*form, "Signal", Variant(std::string(word)));
    expectLayout(w * Pixel, h * Pixel);
  }
}

TEST_F(MainRoad, ThePictureShowsTheBarsAroundTheDocument) {
  form->layout();
  auto canvas = renderForm(*form);
  ASSERT_EQ(canvas.width(), 800);
  ASSERT_EQ(canvas.height(), 600);
  // Every docked bar draws something besides its face; the document is white.
  for (Bar b : {File, Format, Draw, View, Sketch, Status}) {
    const auto& r = *bar(b);
    int drawn = 0;
    for (int y = r.top() / Pixel; y < (r.top() + r.height()) / Pixel; ++y)
      for (int x = r.left() / Pixel; x < (r.left() + r.width()) / Pixel; ++x)
        drawn += canvas.pixel(x, y) == vizevore::colors::Face ? 0 : 1;
    EXPECT_GT(drawn, 20) << b;
  }
  const auto free = freeBox(*form, *form->freeRectangle());
  EXPECT_EQ(canvas.pixel(free.x + 10, free.y + 10), vizevore::colors::Window);
  // Hiding a bar and laying out again gives its room to the document.
  bar(Draw)->setVisible(false);
  form->signal("REFORMAT");
  EXPECT_EQ(renderForm(*form).pixel(10, free.y + 10), vizevore::colors::Window);
}

// A host form is an Object of the host's own; the reference form needs the reference
// application object to run commands through.
TEST(PublicHost, ReferenceFormRefusesAForeignApplicationObject) {
  ObjectRef lib = createLibrary();
  EXPECT_AUTOMATION_ERROR(reference::newForm("frmMain", 100, 100, lib, reference::newToolbarManager()), 13,
                          "ToolbarManager");
  EXPECT_AUTOMATION_ERROR(reference::reportCount(lib), 13, "reference application");
  EXPECT_EQ(createWorkspaceCreation()->typeName(), "WorkspaceCreation");
  // The words a host answers are the ones the library and its toolbars use.
  namespace ours = core::toolbar_events;
  namespace theirs = host_contract::events;
  for (auto [a, b] : {std::pair{theirs::ButtonClick, ours::ButtonClick}, {theirs::ButtonChange, ours::ButtonChange},
                      {theirs::ButtonSpinUp, ours::ButtonSpinUp}, {theirs::ButtonSpinDown, ours::ButtonSpinDown},
                      {theirs::BarContextMenu, ours::BarContextMenu}})
    EXPECT_EQ(std::string_view(a), std::string_view(b));
}

// Showing and hiding single bars: docked bars switch their control, the floating Tools
// bar opens and closes its palette.

class BarVisibility : public ExampleView {
 protected:
  void setVisible(Bar b, int16_t v) { lib->KaTSetVisible(ObjectRef(form), ObjectRef(bar(b)), v); }
  int16_t isVisible(Bar b) {
    return automation::toInteger(automation::callMethod(*lib, "KaTIsVisible", {Variant(bar(b))}));
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

// The form's window: sizing it lays the bars out, its client area shows the form's
// picture, its close box unloads it; and a form that wraps a window the host made and keeps.

PixelRect outerForClient(int w, int h) { return HeadlessWindowing::outerAround({0, 0, w, h}); }

// A window of the host's own, which hears its resizes as the host's window procedure would.
struct HostWindow final : platform::WindowClient {
  int resized = 0;
  void windowResized() override { ++resized; }
  void windowCloseRequested() override {}
};

class FormWindow : public ExampleView {
 protected:
  int unloaded = 0;
  void listen(HeadlessForm& f) { f.onUnloaded([this] { ++unloaded; }); }
  int barsOf(const HeadlessForm& f) const {
    int n = 0;
    for (const auto& b : tbm->bars()) n += automation::objectAs<ReVivezav>(b)->parentForm() == &f ? 1 : 0;
    return n;
  }
};

TEST_F(FormWindow, TheUsersSizingLaysOutTheFormsOwnResizeDoesNot) {
  const auto window = form->hWnd();
  listen(*form);
  form->resize(640, 420);
  EXPECT_FALSE(form->freeRectangle()) << "the form's own resize lays nothing out";
  EXPECT_EQ(screen->clientRect(window), (PixelRect{0, 0, 640, 420}));

  screen->dragEdge(window, platform::wmsz::BottomRight, {outerForClient(700, 450), outerForClient(720, 500)});
  EXPECT_EQ(form->scaleWidth(), 720 * Pixel);
  EXPECT_EQ(form->scaleHeight(), 500 * Pixel);
  ASSERT_TRUE(form->freeRectangle());
  EXPECT_EQ(bar(File)->width(), 720 * Pixel);
  EXPECT_EQ(bar(View)->left() + bar(View)->width(), 720 * Pixel);
  EXPECT_EQ(bar(Sketch)->top() + bar(Sketch)->height(), 500 * Pixel);
  EXPECT_GT(screen->window(window).paintsAsked, 0) << "the new layout is painted";

  // What the window shows is the form's picture.
  platform::WindowPixels shown;
  form->paintWindow(shown);
  EXPECT_EQ(shown.width, 720);
  EXPECT_EQ(shown.height, 500);
  EXPECT_EQ(shown.pixels, windowPixels(renderForm(*form)));

  // Minimised, the client area is empty: the bars keep their places.
  screen->moveWindow(window, outerForClient(0, 0));
  EXPECT_EQ(form->scaleWidth(), 720 * Pixel);
  EXPECT_EQ(bar(File)->width(), 720 * Pixel);

  screen->pressCloseBox(window);
  EXPECT_FALSE(form->loaded());
  EXPECT_FALSE(screen->isWindow(window));
  EXPECT_EQ(tbm->count(), 0);
  EXPECT_EQ(unloaded, 1);
  form->unload();
  EXPECT_EQ(unloaded, 1) << "told once";
}

TEST_F(FormWindow, AFormWrapsTheHostsWindowWithoutOwningIt) {
  HostWindow host;
  const auto window = screen->createWindow(host, outerForClient(500, 400));
  screen->setCaption(window, "Diagram");

  auto wrap = [&] {
    auto f = makeObject<HeadlessForm>("frmHost", window);
    f->setLibrary(lib);
    f->setApplication(app);
    listen(*f);
    automation::callMethod(*lib, "KaTSetup", {Variant(f), "MainView"});
    return f;
  };
  auto first = wrap();
  EXPECT_EQ(first->hWnd(), window);
  EXPECT_EQ(first->caption(), "Diagram");
  EXPECT_EQ(first->scaleWidth(), 500 * Pixel);
  EXPECT_EQ(first->bar(File)->width(), 500 * Pixel) << "setup laid the bars out on the host's client area";
  platform::WindowPixels shown;
  first->paintWindow(shown);
  EXPECT_TRUE(shown.pixels.empty()) << "the host paints its own window";

  screen->dragEdge(window, platform::wmsz::Right, {outerForClient(600, 400)});
  EXPECT_EQ(host.resized, 1);
  EXPECT_EQ(first->bar(File)->width(), 600 * Pixel);

  first->unload();
  EXPECT_TRUE(screen->isWindow(window)) << "the host's window stays the host's";
  EXPECT_EQ(unloaded, 1);
  EXPECT_EQ(barsOf(*first), 0);
  screen->dragEdge(window, platform::wmsz::Right, {outerForClient(650, 400)});
  EXPECT_EQ(first->scaleWidth(), 600 * Pixel) << "an unloaded form no longer listens";

  // The host's window goes: the form wrapping it unloads with it.
  auto second = wrap();
  EXPECT_EQ(second->scaleWidth(), 650 * Pixel);
  EXPECT_GT(barsOf(*second), 0);
  screen->destroyWindow(window);
  EXPECT_FALSE(second->loaded());
  EXPECT_EQ(second->hWnd(), 0);
  EXPECT_EQ(barsOf(*second), 0);
  EXPECT_EQ(unloaded, 2);
}

// Floating bars: a user floats a bar, works on the palette, sizes it, docks it; the host
// form goes away with palettes open.

class PaletteStories : public ExampleView {
 protected:
  Ref<FrmToolPalette> floatBar(Bar b) {
    automation::callMethod(*lib, "KaTFloat", {Variant(form), Variant(bar(b))});
    return FrmToolPalette::loadedPalettes().back();
  }
  static ReVivezav& barOf(const FrmToolPalette& p) { return dynamic_cast<ReVivezav&>(*p.bar()); }
};

TEST_F(PaletteStories, WorkingOnAFloatingBarSendsCommandsItsStateComesHomeAndUnloadLeavesItFloating) {
  auto palette = floatBar(Format);
  ReVivezav& floating = barOf(*palette);
  EXPECT_FALSE(bar(Format)->visible());
  EXPECT_EQ(bar(Draw)->top(), bar(File)->idealDepth()) << "the side bars moved up into the room";
  EXPECT_EQ(app->broadcasts(), std::vector<std::string>{"REFRESHTOOLBAR"});

  floating.click(floating.find("Bold"));
  floating.spinUp(floating.find("FontSize"));
  const int fontName = floating.find("FontName");
  floating.addListItem(fontName, "Serif");
  floating.addListItem(fontName, "Sans");
  floating.pick(fontName, 1);
  std::vector<std::string> commands;
  for (const auto& c : form->commands()) commands.push_back(describe(c));
  EXPECT_EQ(commands, (std::vector<std::string>{"Bold (aCmdFlag 1)", "FontSize_SpinUp (aCmdFlag 1)",
                                                "FontName (aCmdFlag 1)"}));
  EXPECT_EQ(lib->aSpinUp(), 9.0f);
  EXPECT_EQ(lib->aBar(), palette->bar());

  screen->pressCloseBox(palette->hWnd());
  EXPECT_TRUE(bar(Format)->visible());
  EXPECT_EQ(bar(Format)->top(), bar(File)->idealDepth()) << "laid out again at its place";
  EXPECT_TRUE(bar(Format)->item(bar(Format)->find("Bold")).on()) << "pressed on the palette, pressed at home";
  EXPECT_EQ(prop(Format, "State"), "Docked");
  EXPECT_EQ(tbm->count(), 7);

  // Unloading the host form closes its palettes without docking them.
  auto format = floatBar(Format), draw = floatBar(Draw);
  EXPECT_EQ(tbm->count(), 9);
  const Ref<ReVivezav> hostBars[] = {bar(Format), bar(Draw)};
  form->unload();
  EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
  EXPECT_EQ(tbm->count(), 0);
  EXPECT_EQ(format->Tag() + draw->Tag(), "DONTDOCKDONTDOCK");
  for (const auto& b : hostBars) {
    EXPECT_EQ(automation::toString(lib->KaTGetProp(ObjectRef(b), "State", Variant("-"))), "Floating");
    EXPECT_NE(automation::toString(lib->KaTGetProp(ObjectRef(b), "FloatPos", Variant(""))), "");
  }
}

// The user's command closes the document: the host unloads its form, palettes and all,
// from inside "ExecuteCommand", while the palette's handler is still on the stack and
// nobody else holds the palette.
TEST_F(PaletteStories, AHostThatUnloadsItsFormFromAPaletteCommandLeavesNothingDangling) {
  const std::pair<const char*, void (*)(ReVivezav&)> cases[] = {
      {"Bold", [](ReVivezav& b) { b.click(b.find("Bold")); }},
      {"FontSize_SpinUp", [](ReVivezav& b) { b.spinUp(b.find("FontSize")); }},
      {"FontName",
       [](ReVivezav& b) {
         b.addListItem(b.find("FontName"), "Serif");
         b.pick(b.find("FontName"), 0);
       }},
  };
  for (const auto& [command, act] : cases) {
    SCOPED_TRACE(command);
    auto doc = makeObject<HeadlessForm>("frmDoc", 640, 480);
    doc->setLibrary(lib);
    automation::callMethod(*lib, "KaTSetup", {Variant(doc), "MainView"});
    std::vector<std::string> commands;
    doc->onSignal([&](HeadlessForm& f, const std::string& word) {
      if (word != "ExecuteCommand") return;
      commands.push_back(app->commandString());
      f.unload();
    });
    automation::callMethod(*lib, "KaTFloat", {Variant(doc), Variant(doc->bar(Format))});
    Ref<ReVivezav> floating(&barOf(*FrmToolPalette::loadedPalettes().back()));
    act(*floating);
    EXPECT_EQ(commands, std::vector<std::string>{command});
    EXPECT_FALSE(doc->loaded());
    EXPECT_TRUE(FrmToolPalette::loadedPalettes().empty());
    EXPECT_EQ(floating->parentForm(), nullptr) << "the palette let its toolbar go";
  }
  EXPECT_EQ(tbm->count(), 7) << "only the main form's bars are left";
}

TEST_F(PaletteStories, ThePaletteSnapsToItsToolbarWhileTheUserDragsItsRightEdge) {
  auto palette = floatBar(File);
  ReVivezav& floating = barOf(*palette);
  const auto start = screen->windowRect(palette->hWnd());
  constexpr int Frame = 2 * W::FramePixels;
  EXPECT_EQ(start.width() - Frame, floating.width() / Pixel) << "fitted on its first show";

  const int oneRow = floating.idealDepth();
  for (int width : {start.width() - 60, start.width() / 2, 60}) {
    SCOPED_TRACE(width);
    screen->dragEdge(palette->hWnd(), platform::wmsz::Right, {{start.left, start.top, start.left + width, start.bottom}});
    const auto now = screen->windowRect(palette->hWnd());
    EXPECT_LE(now.width(), std::max(width, floating.minLength() / Pixel + Frame));
    EXPECT_EQ(now.width() - Frame, floating.width() / Pixel);
    EXPECT_EQ(now.height() - Frame - W::CaptionPixels, floating.height() / Pixel);
    EXPECT_EQ(now.left, start.left);
  }
  EXPECT_GT(floating.idealDepth(), 2 * oneRow) << "narrow: several rows";
}

TEST_F(PaletteStories, ABarFloatedAgainComesBackWhereItWasAndTheScreenShowsIt) {
  auto first = floatBar(View);
  screen->moveWindow(first->hWnd(), {300, 200, 300 + 90, 200 + 160});
  const auto r = screen->windowRect(first->hWnd());
  automation::callMethod(*first, "Unload");
  auto again = floatBar(View);
  EXPECT_EQ(screen->windowRect(again->hWnd()), r);

  // The form and above it the palette with its toolbar.
  auto picture = renderDesktop(*screen, std::vector<const HeadlessForm*>{form.get()});
  ASSERT_EQ(picture.width(), 808 + 16);
  ASSERT_EQ(picture.height(), 626 + 16);
  const int f = W::FramePixels;
  EXPECT_EQ(picture.pixel(f + 2, f + 2), vizevore::colors::Selection) << "the form's caption";
  EXPECT_EQ(picture.pixel(r.left + f + 2, r.top + f + 2), vizevore::colors::Selection) << "the palette's caption";
  // The palette's toolbar draws its buttons inside the client area, over the document.
  int drawn = 0;
  for (int y = r.top + f + W::CaptionPixels; y < r.bottom - f; ++y)
    for (int x = r.left + f; x < r.right - f; ++x) drawn += picture.pixel(x, y) == vizevore::colors::Face ? 0 : 1;
  EXPECT_GT(drawn, 50);
  EXPECT_EQ(picture.pixel(r.right + 2, r.top + 2), vizevore::colors::Window) << "beside it the document";
}

// A host keeps its buttons in step by function name: one form with four bars, two of them
// floating in palettes of their own, and a second form carrying a bar of the same section.
// Every call goes through the library's dispatch face.
namespace states {

constexpr const char* Ini =
    "[Functions]\nBold=TOGGLE,,Bold|\nCut=PUSH,,Cut|~0~0\nFont=COMBO,100,Font|\nSize=SPIN,8/6/72/1/0,Size|\n"
    "Msg=DIP,/100,Ready|\n"
    "[Main.Toolbars]\nBarCount=4\nBar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked\n"
    "Bar1=Name=Format;Home=TOP;Visible=Yes;State=Docked\nBar2=Name=Tools;Home=LEFT;Visible=Yes;State=Docked\n"
    "Bar3=Name=Extra;Home=BOTTOM;Visible=Yes;State=Docked\n"
    "[Other.Toolbars]\nBarCount=1\nBar0=Name=Edit;Home=TOP;Visible=Yes;State=Docked\n"
    "[Toolbar.Edit]\nButtonCount=4\nButton0=Bold\nButton1=Cut\nButton2=Font\nButton3=Msg\n"
    "[Toolbar.Format]\nButtonCount=3\nButton0=Font\nButton1=Bold\nButton2=Size\n"
    "[Toolbar.Tools]\nButtonCount=3\nButton0=Bold\nButton1=Msg\nButton2=Size\n"
    "[Toolbar.Extra]\nButtonCount=4\nButton0=Cut\nButton1=Bold\nButton2=Font\nButton3=Msg\n";

enum MainBar { Edit, Format, Tools, Extra };

struct StatesFile {
  support::TempDir dir;
  std::string ini = dir.write("BARS.INI", Ini);
};

class FunctionStateStories : public ::testing::Test, StatesFile, public ReferenceHost {
 protected:
  FunctionStateStories() : ReferenceHost(ini) {
    for (MainBar b : {Tools, Extra}) {
      call("KaTFloat", {F, Variant(form->bar(b))});
      palettes.push_back(FrmToolPalette::loadedPalettes().back());
    }
  }

  Variant call(std::string_view member, std::initializer_list<automation::Arg> args) {
    return automation::callMethod(*lib, member, args);
  }
  bool next(const char* member) { return automation::toBoolean(call(member, {})); }
  // Every bar of the main form in TBM order: its four bars (two hidden while they float),
  // then the two palettes' bars.
  std::vector<ReVivezav*> mainBars() const {
    std::vector<ReVivezav*> out;
    for (int b = Edit; b <= Extra; ++b) out.push_back(form->bar(b).get());
    for (const auto& p : palettes) out.push_back(&dynamic_cast<ReVivezav&>(*p->bar()));
    return out;
  }
  ReVivezav& otherBar() const { return *other->bar(0); }
  static const vizevore::Item& button(const ReVivezav& bar, const char* fn) { return bar.item(bar.find(fn)); }
  // Per bar of the main form: what `show` says of its button `fn`, "-" where it has none.
  std::string each(const char* fn, const std::function<std::string(const vizevore::Item&)>& show) const {
    std::string s;
    for (auto* bar : mainBars()) s += bar->find(fn) < 0 ? "-" : show(button(*bar, fn));
    return s;
  }
  std::string pressed(const char* fn) const {
    return each(fn, [](const vizevore::Item& i) { return i.on() ? "1" : "0"; });
  }

  Ref<HeadlessForm> form = setup("Main"), other = setup("Other", 400, 300, "frmOther");
  const Variant F{ObjectRef(form)};
  std::vector<Ref<FrmToolPalette>> palettes;
};

TEST_F(FunctionStateStories, ScansVisitTheFormsBarsAndItsPalettesInTheManagersOrder) {
  ASSERT_EQ(tbm->count(), 7);
  std::vector<ObjectRef> seen, expected;
  std::string floating;
  call("KaTBeginScan", {F});
  while (next("KATNextScan")) {
    seen.push_back(lib->aBar());
    floating += lib->CurrentWorkspace()->IsFloating ? 'F' : '.';
  }
  for (auto* bar : mainBars()) expected.push_back(ObjectRef(bar));
  EXPECT_EQ(seen, expected) << "frmOther's bar is skipped";
  EXPECT_EQ(floating, "....FF");
  EXPECT_TRUE(call("KATNextScan", {}).isEmpty()) << "exhausted stays exhausted";
  EXPECT_EQ(lib->aBar(), nullptr);

  int all = 0;
  call("KaTBeginScan", {Variant(ObjectRef())});
  while (next("KATNextScan")) ++all;
  EXPECT_EQ(all, 7);

  std::vector<int16_t> sizeAt;
  call("KaTBeginScanFunction", {F, "Size"});
  while (next("KaTNextScanFunction")) {
    auto& bar = dynamic_cast<ReVivezav&>(*lib->aBar());
    sizeAt.push_back(static_cast<int16_t>(bar.currentButton()));
    EXPECT_EQ(bar.item(bar.currentButton()).tag, "Size");
  }
  EXPECT_EQ(sizeAt, (std::vector<int16_t>{2, 2, 2})) << "Format, the hidden Tools and its palette";
}

TEST_F(FunctionStateStories, StateAndEnablementReachEveryPushButtonOfTheFormAndNoOtherForm) {
  auto enabled = [](const vizevore::Item& i) { return i.enabled() ? "1" : "0"; };
  call("KaSetFunctionState", {F, "Bold", i2(5)});
  EXPECT_EQ(pressed("Bold"), "111111");
  EXPECT_FALSE(button(otherBar(), "Bold").on());

  call("KaSetFunctionEnabled", {F, "Cut", i2(0)});
  call("KaSetFunctionEnabled", {F, "Font", i2(0)});  // a combo: left alone
  EXPECT_EQ(each("Cut", enabled), "0--0-0");
  EXPECT_EQ(each("Font", enabled), "11-1-1");
  EXPECT_TRUE(button(otherBar(), "Cut").enabled());
  call("KaSetButtonEnable", {F, "Cut", i2(-1)});
  EXPECT_TRUE(button(*mainBars()[5], "Cut").enabled());

  call("KaSetFunctionVisible", {F, "Cut", i2(0)});
  EXPECT_FALSE(button(*form->bar(Edit), "Cut").visible);
  EXPECT_TRUE(button(otherBar(), "Cut").visible);

  // Tips reach buttons of any kind.
  call("KaSetButtonTip", {F, "Msg", "Where we are"});
  call("KaSetButtonTip", {F, "Font", "Typeface"});
  EXPECT_EQ(button(*mainBars()[4], "Msg").tooltip, "Where we are");
  EXPECT_EQ(button(*mainBars()[5], "Font").tooltip, "Typeface");
  EXPECT_EQ(button(otherBar(), "Font").tooltip, "Font");

  call("KaSetFunctionState", {F, "Bold", i2(0)});
  EXPECT_EQ(pressed("Bold"), "000000");
}

TEST_F(FunctionStateStories, GetOperationsAnswerFromTheFirstOrTheLastPushButton) {
  call("KaSetFunctionState", {F, "Bold", i2(-1)});
  auto& first = *form->bar(Edit);
  first.setFlags(first.find("Bold"), static_cast<int16_t>(button(first, "Bold").flags & ~zadeve::BF_ON));

  Variant value = i2(7);
  EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {F, "Bold"})), 0) << "the first is off";
  EXPECT_EQ(call("KaTGetFunctionState", {F, "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, i2(-1)) << "the last, on the Extra palette, is on";

  auto& last = *mainBars()[5];
  last.setEnabled(last.find("Bold"), false);
  EXPECT_EQ(call("KaGetFunctionEnabled", {F, "Bold", byRef(value)}), Variant(true));
  EXPECT_EQ(value, i2(0));

  // Functions no push button carries: false or 0, and the out-value as the caller passed it.
  for (const char* fn : {"Font", "Msg", "Nowhere"}) {
    SCOPED_TRACE(fn);
    Variant untouched = i2(7);
    EXPECT_EQ(call("KaTGetFunctionState", {F, fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(call("KaGetFunctionEnabled", {F, fn, byRef(untouched)}), Variant(false));
    EXPECT_EQ(untouched, i2(7));
    EXPECT_EQ(automation::toInteger(call("KaGetFunctionState", {F, fn})), 0);
  }
}

TEST_F(FunctionStateStories, CombosAreFilledSearchedAndReadOnEveryBar) {
  for (auto [text, data] : {std::pair{"Serif", 11}, {"sans", 12}, {"Sans", 13}})
    call("KaAddFunctionListItem", {F, "Font", text, i4(data)});
  // Edit, Format, the hidden Extra and its palette.
  EXPECT_EQ(each("Font",
                 [](const vizevore::Item& i) {
                   const auto& e = i.combo.entries;
                   return std::to_string(e.size()) + (e.size() == 3 ? e[2].text + std::to_string(e[2].data) : "") +
                          " ";
                 }),
            "3Sans13 3Sans13 -3Sans13 -3Sans13 ");
  EXPECT_TRUE(button(otherBar(), "Font").combo.entries.empty());

  auto selected = [&] {
    return each("Font", [](const vizevore::Item& i) { return std::to_string(i.combo.listIndex); });
  };
  call("KaSetItemIndexByText", {F, "Font", "SANS"});
  EXPECT_EQ(selected(), "11-1-1") << "the first equal ignoring case";
  for (const char* missing : {"Mono", ""}) call("KaSetItemIndexByText", {F, "Font", missing});
  call("KaSetItemIndexByData", {F, "Font", i4(99)});
  for (int index : {-1, 3}) call("KaSetItemIndex", {F, "Font", i4(index)});
  EXPECT_EQ(selected(), "11-1-1") << "what is not there leaves the selection alone";
  call("KaSetItemIndexByData", {F, "Font", i4(13)});
  EXPECT_EQ(selected(), "22-2-2");
  call("KaSetItemIndex", {F, "Font", i4(0)});
  EXPECT_EQ(selected(), "00-0-0");

  auto& last = *mainBars()[5];
  last.pick(last.find("Font"), 1);
  ASSERT_EQ(button(last, "Font").combo.listIndex, 1);
  Variant item("as passed"), data = i4(-5);
  call("KaGetFunctionListItem", {F, "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("sans")) << "the last combo visited answers";
  EXPECT_EQ(data, i4(12));
  item = Variant("as passed");
  call("KaGetFunctionListItem", {Variant(other), "Font", byRef(item), byRef(data)});
  EXPECT_EQ(item, Variant("as passed")) << "nothing selected on the other form";
}

TEST_F(FunctionStateStories, StatusPanelsShowMessagesAndProgressOnEveryBar) {
  call("StatusMsg", {F, "Msg", "Saved", Variant(true)});
  EXPECT_EQ(each("Msg", [](const vizevore::Item& i) { return i.caption + ";"; }), "Saved;-Saved;Saved;Saved;Saved;");
  EXPECT_EQ(button(otherBar(), "Msg").caption, "");
  EXPECT_EQ(call("GetStatusMsg", {F, "Msg"}), Variant("Saved"));
  EXPECT_EQ(call("GetStatusMsg", {F, "Nowhere"}), Variant(""));

  // The name finds any button, a push button too.
  call("StatusMsg", {F, "Cut", "Snip"});
  EXPECT_EQ(button(*form->bar(Edit), "Cut").caption, "Snip");

  for (int16_t percent : {150, -5}) {
    call("StatusProg", {F, "Msg", i2(percent)});
    EXPECT_EQ(button(*mainBars()[5], "Msg").panel.progress, percent);
  }
}

}  // namespace states

// The diagram editor example (examples/diagram) as a user meets it: every view comes
// through setup on the reference host without a single report, with all its bars, docked
// along all four edges, every image inside its strip, and every text German with de.po.

const std::filesystem::path diagram = examples() / "diagram";

// One view on a fresh reference host, as a host builds it: its bars, free rectangle and reports.
struct DiagramHost : ReferenceHost {
  explicit DiagramHost(const std::string& view, const std::string& language = {})
      : ReferenceHost(diagram / "BARS.INI", language),
        form(setup(view, 1024, 768, "frmDiagram")),
        free(form->layout()) {
    for (int16_t i = 0; i < form->bars().count(); ++i) bars.push_back(form->bar(i));
    for (const auto& report : app->reports()) reports.push_back(report.text);
    for (const auto& box : screen->messages()) reports.push_back(box.text);
  }
  std::string config(const std::string& section, const std::string& key) {
    return automation::toString(lib->GetConfigValue(section, key, ""));
  }

  Ref<HeadlessForm> form;
  FreeRectangle free;
  std::vector<Ref<ReVivezav>> bars;
  std::vector<std::string> reports;
};

TEST(DiagramExample, EveryViewBuildsCleanlyAlongAllFourEdgesAndInGerman) {
  // A text de.po lacks would stay English and fail below.
  std::map<std::string, std::string> german;
  std::ifstream po(diagram / "de.po", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(po), {}};
  for (const auto& e : components::parsePo(text, "de.po"))
    if (!e.msgid.empty() && !e.msgstr.empty() && !e.msgstr[0].empty()) german[e.msgid] = e.msgstr[0];

  std::set<std::string> names;
  std::set<ItemKind> kinds;
  for (const std::string view : {"DiagramView", "LibraryView", "PreviewView"}) {
    SCOPED_TRACE(view);
    DiagramHost en(view), de(view, (diagram / "de.po").string());
    EXPECT_EQ(en.reports, std::vector<std::string>{});
    EXPECT_EQ(de.reports, std::vector<std::string>{});

    // One bar per entry, in entry order, each filled from its own section.
    ASSERT_EQ(static_cast<int>(en.bars.size()), std::stoi(en.config(view + ".Toolbars", "BarCount")));
    ASSERT_EQ(en.bars.size(), de.bars.size());
    for (size_t n = 0; n < en.bars.size(); ++n) {
      const auto& bar = *en.bars[n];
      const std::string entry = en.config(view + ".Toolbars", "Bar" + std::to_string(n));
      const std::string name = en.lib->KaTBarName(ObjectRef(en.bars[n]));
      EXPECT_NE(entry.find("Name=" + name + ";"), std::string::npos) << entry;
      EXPECT_GT(bar.itemCount(), 0) << entry;
      names.insert(name);
      const auto& items = bar.items();
      ASSERT_EQ(items.size(), de.bars[n]->items().size());
      for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        kinds.insert(item.kind);
        // Every button image lies inside its strip.
        if (item.image.given()) {
          const auto* set = bar.imageSet(item.image.set);
          ASSERT_NE(set, nullptr) << item.tag;
          auto picture = automation::objectAs<platform::Picture>(set->picture);
          ASSERT_TRUE(picture) << item.tag;
          EXPECT_LT(item.image.index, picture->width() / set->imageWidth) << item.tag;
          EXPECT_GE(picture->height(), set->imageHeight) << item.tag;
        }
        // The German build shows what the catalogue gives for the English text; a menu's
        // caption is its function name, which no catalogue translates.
        if (item.tooltip.empty() || item.kind == ItemKind::Menu) continue;
        const auto found = german.find(item.tooltip);
        ASSERT_NE(found, german.end()) << "untranslated: " << item.tooltip;
        EXPECT_EQ(de.bars[n]->items()[i].tooltip, found->second);
      }
    }

    // Docked bars on every edge leave a free rectangle inset from all four.
    const auto& f = en.free;
    EXPECT_TRUE(0 < f.left && f.left < f.right && f.right < en.form->scaleWidth() && 0 < f.top && f.top < f.bottom &&
                f.bottom < en.form->scaleHeight())
        << f.left << "," << f.top << "," << f.right << "," << f.bottom;
  }
  EXPECT_GE(names.size(), 12u);
  EXPECT_TRUE(names.count("SKETCH"));
  EXPECT_EQ(kinds.size(), 9u) << "every kind of item the builder makes";
}

// Every member of the library's and the workspace's dispatch faces called late-bound, on
// the example view, through the library object and through a workspace of its own: each row
// must bind its arguments as a host passes them, and a case checks what the call is for
// where that is cheap to see. (Slots, kinds and signatures are the interface tables test's.)

enum Faces { Library = 1, Workspace = 2, Both = 3 };

// The face under test with a form of its own carrying the example view, on a copy of the
// example files (some members write the configuration file).
class Face : public ExampleView {
 public:
  using ExampleView::app;
  void on(Faces f) {
    for (const char* file : {"BARS.INI", "std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(examples() / file, dir.file(file));
    face = lib, frm = form, ownTbm = tbm;
    if (f == Workspace) {
      face = workspace::WorkspaceCreation::NewZuzuzudWorkspace();
      frm = makeObject<HeadlessForm>("frmOther", 800, 600);
      frm->setLibrary(face);
      frm->setApplication(app);
      ownTbm = makeObject<ToolbarManager>();
    }
    call("InitialiseZADEVE", {Variant(ownTbm), ini(), dir.path().string() + "/"});
    if (f == Workspace) {
      automation::setProperty(*face, "ShellApplicationObject", app);
      call("KaTSetup", {Variant(frm), "MainView"});
    }
  }
  ~Face() override { closeWithoutDocking(*frm); }

  Variant call(const char* member, std::initializer_list<Arg> args = {}) {
    return automation::callMethod(*face, member, args);
  }
  Variant get(const char* member) { return automation::getProperty(*face, member); }
  void let(const char* member, Variant v) { automation::letProperty(*face, member, std::move(v)); }
  Variant bar(Bar b) const { return Variant(ObjectRef(frm->bar(b))); }
  Variant f() const { return Variant(ObjectRef(frm)); }
  std::string ini() const { return dir.file("BARS.INI"); }

  support::TempDir dir;
  ObjectRef face;
  Ref<HeadlessForm> frm;
  Ref<ToolbarManager> ownTbm;
};

struct Case {
  const char* name;
  const char* rows;  // the rows it calls: "Member" for a method, "Member:gls" for its get/let/set
  std::function<void(Face&)> run;
  Faces faces = Both;
};

const std::vector<Case>& cases() {
  using F = Face;
  static const std::vector<Case> all = {
      {"Configuration",
       "BarsConfigFile:gl BarsBitmapsDir:gl GetConfigValue SetConfigValue ClearConfigSection GetIconSetNumber "
       "InitialiseZADEVE",
       [](F& t) {
         EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.ini()));
         EXPECT_EQ(t.get("BarsBitmapsDir"), Variant(t.dir.path().string() + "/"));
         EXPECT_EQ(t.call("GetConfigValue", {"Toolbar.Sketch", "Button0", ""}), Variant("SketchPad"));
         EXPECT_NE(t.call("SetConfigValue", {"Debug", "ReportMissing", "0"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", ""}), Variant("0"));
         EXPECT_NE(t.call("ClearConfigSection", {"Debug"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", "-"}), Variant("-"));
         Variant number = i2(0);
         EXPECT_EQ(t.call("GetIconSetNumber", {"big24.bmp,24,24", byRef(number)}), Variant(true));
         EXPECT_EQ(number, i2(1));
         t.let("BarsConfigFile", Variant(t.dir.file("other.ini")));
         t.let("BarsBitmapsDir", Variant("bmp/"));
         EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.dir.file("other.ini")));
         EXPECT_EQ(t.get("BarsBitmapsDir"), Variant("bmp/"));
         t.call("InitialiseZADEVE", {Variant(t.ownTbm), Variant("x.ini"), Variant("y/")});
         EXPECT_EQ(t.get("BarsConfigFile"), Variant("x.ini"));
       }},
      {"BarProperties", "KaTBarName KaTGetProp KaTSetProp KaTIsVisible KaTSetVisible",
       [](F& t) {
         EXPECT_EQ(t.call("KaTBarName", {t.bar(Format)}), Variant("Format"));
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("LEFT"));
         t.call("KaTSetProp", {t.bar(Draw), "Home", "RIGHT"});
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("RIGHT"));
         EXPECT_EQ(t.call("KaTIsVisible", {t.bar(Draw)}), i2(-1));
         t.call("KaTSetVisible", {t.f(), t.bar(View), i2(0)});
         EXPECT_EQ(t.call("KaTIsVisible", {t.bar(View)}), i2(0));
       }},
      {"Bars", "KaTBuildBar KaTRebuildBar KaTCopyBarState KaTLayout KaTSetup",
       [](F& t) {
         t.call("KaTBuildBar", {t.bar(Sketch), "Sketch"});
         t.call("KaTRebuildBar", {t.bar(View)});
         t.call("KaTCopyBarState", {t.bar(View), t.bar(Tools)});
         Variant e[4];
         t.call("KaTLayout", {t.f(), byRef(e[0]), byRef(e[1]), byRef(e[2]), byRef(e[3])});
         EXPECT_GT(automation::toLong(e[1]), 0) << "bars are docked at the top";
         EXPECT_EQ(e[3].type(), automation::VarType::Integer);
         auto other = makeObject<HeadlessForm>("frmThird", 800, 600);
         other->setLibrary(t.face);
         t.call("KaTSetup", {Variant(ObjectRef(other)), "MainView"});
         EXPECT_EQ(t.call("KaTBarName", {Variant(ObjectRef(other->bar(Status)))}), Variant("Status"));
         other->unload();
       }},
      {"FloatAndUnload", "KaTFloat KaTUnloadBars",
       [](F& t) {
         auto before = palette::FrmToolPalette::loadedPalettes().size();
         t.call("KaTFloat", {t.f(), t.bar(Draw)});
         EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), before + 1);
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "State", ""}), Variant("Floating"));
         t.call("KaTUnloadBars", {t.f()});
         EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), before);
       }},
      {"Scans", "KaTBeginScan KATNextScan KaTBeginScanFunction KaTNextScanFunction",
       [](F& t) {
         t.call("KaTBeginScan", {t.f()});
         EXPECT_EQ(t.call("KATNextScan"), Variant(true));
         t.call("KaTBeginScanFunction", {t.f(), "Bold"});
         EXPECT_EQ(t.call("KaTNextScanFunction"), Variant(true));
       }},
      {"FunctionState",
       "KaSetFunctionState KaGetFunctionState KaTGetFunctionState KaSetFunctionEnabled KaGetFunctionEnabled "
       "KaSetButtonEnable KaSetFunctionVisible KaSetButtonTip",
       [](F& t) {
         Variant value = i2(5);
         EXPECT_EQ(t.call("KaTGetFunctionState", {t.f(), "Bold", byRef(value)}), Variant(true));
         EXPECT_EQ(value, i2(0));
         EXPECT_EQ(t.call("KaGetFunctionState", {t.f(), "Bold"}), i2(0));
         t.call("KaSetFunctionState", {t.f(), "Bold", i2(-1)});
         EXPECT_EQ(t.call("KaGetFunctionState", {t.f(), "Bold"}), i2(-1));
         EXPECT_EQ(t.call("KaGetFunctionEnabled", {t.f(), "EditCut", byRef(value)}), Variant(true));
         t.call("KaSetFunctionEnabled", {t.f(), "EditCut", i2(0)});
         t.call("KaSetButtonEnable", {t.f(), "EditCut", i2(0)});
         t.call("KaSetFunctionVisible", {t.f(), "Print", i2(0)});
         t.call("KaSetButtonTip", {t.f(), "Bold", "Bold text"});
       }},
      {"Lists", "KaAddFunctionListItem KaSetItemIndexByText KaSetItemIndexByData KaSetItemIndex KaGetFunctionListItem",
       [](F& t) {
         t.call("KaAddFunctionListItem", {t.f(), "FontName", "Serif", i4(3)});
         t.call("KaSetItemIndexByText", {t.f(), "FontName", "serif"});
         t.call("KaSetItemIndexByData", {t.f(), "FontName", i4(3)});
         t.call("KaSetItemIndex", {t.f(), "FontName", i4(0)});
         Variant item(""), data = i4(0);
         t.call("KaGetFunctionListItem", {t.f(), "FontName", byRef(item), byRef(data)});
         EXPECT_EQ(item, Variant("Serif"));
         EXPECT_EQ(data, i4(3));
       }},
      {"Status", "StatusMsg GetStatusMsg StatusProg",
       [](F& t) {
         EXPECT_TRUE(t.call("GetStatusMsg", {t.f(), "Coordinates"}).isString());
         t.call("StatusMsg", {t.f(), "StatusText", "Drawing"});
         EXPECT_EQ(t.call("GetStatusMsg", {t.f(), "StatusText"}), Variant("Drawing"));
         t.call("StatusProg", {t.f(), "Progress", i2(50)});
       }},
      // The workspace's aBar and spin values are its own fields, whose rows share the names.
      {"Fields", "ShellApplicationObject:s aBar:gs aSpinUp:gl aSpinDown:gl",
       [](F& t) {
         automation::setProperty(*t.face, "ShellApplicationObject", t.app);
         EXPECT_TRUE(t.get("aBar").isObject());
         automation::setProperty(*t.face, "aBar", t.bar(Draw).object());
         EXPECT_EQ(t.get("aBar"), t.bar(Draw));
         EXPECT_EQ(t.get("aSpinUp"), Variant(0.0f));
         EXPECT_EQ(t.get("aSpinDown"), Variant(0.0f));
         t.let("aSpinDown", Variant(2.5));
         t.let("aSpinUp", i2(4));
         EXPECT_EQ(t.get("aSpinDown"), Variant(2.5f));
         EXPECT_EQ(t.get("aSpinUp"), Variant(4.0f));
       }},
      {"LibraryOnly", "KaTDisableFloatingMenu KaTEnableFloatingMenu KaTReleaseBars",
       [](F& t) {
         t.call("KaTDisableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), -1);
         t.call("KaTEnableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), 0);
         t.call("KaTReleaseBars", {t.f()});
       },
       Library},
  };
  return all;
}

struct FaceCase {
  Faces face;
  const Case* c;
};

std::vector<FaceCase> faceCases() {
  std::vector<FaceCase> out;
  for (const auto& c : cases())
    for (Faces f : {Library, Workspace})
      if (c.faces & f) out.push_back({f, &c});
  return out;
}

class LateBound : public Face, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(LateBound, CallsTheMembers) {
  on(GetParam().face);
  try {
    GetParam().c->run(*this);
  } catch (const automation::AutomationError& e) {
    FAIL() << "error " << e.number() << ": " << e.description();
  }
}

INSTANTIATE_TEST_SUITE_P(DispatchFaces, LateBound, ::testing::ValuesIn(faceCases()),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                           return std::string(info.param.face == Library ? "Library_" : "Workspace_") +
                                  info.param.c->name;
                         });

// A row added to either table without a case on that face would go uncalled. The
// workspace's own fields aBarIndex and IsFloating are the workspace proxies test's.
TEST(DispatchFaces, EveryRowHasALateBoundCaseOnItsFace) {
  std::set<std::tuple<int, std::string, InvokeKind>> called;
  auto add = [&](int faces, const std::string& all) {
    std::istringstream rows(all);
    for (std::string row; rows >> row;) {
      const auto colon = row.find(':');
      std::vector<InvokeKind> kinds;
      if (colon == std::string::npos) kinds.push_back(InvokeKind::Method);
      for (char k : row.substr(colon == std::string::npos ? row.size() : colon + 1))
        kinds.push_back(k == 'g' ? InvokeKind::PropertyGet : k == 'l' ? InvokeKind::PropertyLet : InvokeKind::PropertySet);
      for (int f : {Library, Workspace})
        for (auto kind : kinds)
          if (faces & f) called.insert({f, row.substr(0, colon), kind});
    }
  };
  add(Workspace, "aBarIndex:gl IsFloating:gl");
  for (const auto& c : cases()) add(c.faces, c.rows);
  for (const auto& row : core::ZuzuzudLibrary::memberTable().members())
    EXPECT_TRUE(called.count({Library, std::string(row.name), row.kind})) << row.name;
  for (const auto& row : core::ZuzuzudWorkspace::memberTable().members())
    EXPECT_TRUE(called.count({Workspace, std::string(row.name), row.kind})) << row.name;
}

}  // namespace
}  // namespace zadeve::host
