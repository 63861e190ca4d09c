// Floating bars of the example view with our real control: a user floats a bar, works on
// the palette, sizes it, docks it; the host form goes away with palettes open.

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "host/desktop_picture.h"
#include "host/example_view.h"
#include "palette/tool_palette.h"
#include "platform/headless_windowing.h"
#include "vizevore/button_types.h"

namespace zadeve::host {
namespace {

using palette::FrmToolPalette;
using W = platform::HeadlessWindowing;

class PaletteStories : public ExampleView {
 protected:
  ~PaletteStories() override {
    for (auto& p : FrmToolPalette::loadedPalettes()) p->unload();
  }
  Ref<FrmToolPalette> floatBar(Bar b) {
    automation::callMethod(*lib, "KaTFloat", {Variant(form), Variant(bar(b))});
    return FrmToolPalette::loadedPalettes().back();
  }
  static ReVivezav& barOf(const FrmToolPalette& p) { return dynamic_cast<ReVivezav&>(*p.bar()); }
  std::string prop(Bar b, const char* key) {
    return automation::toString(lib->KaTGetProp(ObjectRef(bar(b)), key, Variant("-")));
  }
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

}  // namespace
}  // namespace zadeve::host
