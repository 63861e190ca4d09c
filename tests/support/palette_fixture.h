#pragma once
// Palettes on recording host fakes: a host form with a window on the headless screen, its
// toolbar "Draw", and palette toolbars that are FlowToolbar fakes: six items of 300 x 330
// twips that wrap along whatever length the palette gives them, so the palette's fitting
// can be followed by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "palette/tool_palette.h"
#include "platform/control_registry.h"
#include "support/fake_host.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"

namespace zadeve::support {

using palette::FrmToolPalette;

class FlowToolbar : public FakeToolbar {
 public:
  static constexpr int ItemLength = 300;
  static constexpr int ItemDepth = 330;
  int items = 6;

  FlowToolbar() {
    on("MinLength", [](FakeObject&, std::span<Arg>) { return Variant(int32_t{ItemLength}); });
    on("IdealLength", [this](FakeObject&, std::span<Arg>) { return Variant(int32_t(perRow() * ItemLength)); });
    on("IdealDepth", [this](FakeObject&, std::span<Arg>) {
      return Variant(int32_t((items + perRow() - 1) / perRow() * ItemDepth));
    });
    on("Move", [](FakeObject& self, std::span<Arg> args) {
      const char* names[] = {"Left", "Top", "Width", "Height"};
      for (size_t i = 0; i < args.size() && i < 4; ++i) self.set(names[i], args[i].value());
      return Variant();
    });
  }
  bool vertical() const { return automation::toBoolean(property("Vertical")); }
  int length() const { return automation::toLong(property(vertical() ? "Height" : "Width")); }
  int perRow() const { return std::clamp(length() / ItemLength, 1, items); }
};

// The window of a fake host form: nothing to do on its events.
struct QuietWindow : platform::WindowClient {
  void windowResized() override {}
  void windowCloseRequested() override {}
};

class PaletteTest : public ::testing::Test {
 protected:
  PaletteTest() {
    previousFactory_ = platform::registerControl(
        FrmToolPalette::ToolbarProgId, [this](automation::Object& form, automation::EventSink&) {
          auto tb = automation::makeObject<FlowToolbar>();
          tb->placeOn(&form);
          paletteBars.push_back(tb);
          return platform::PlacedControl{tb, [tb] { tb->placeOn(nullptr); }};
        });
    dir.write("BARS.INI",
              "[Functions]\nBold=10,,Bold\n[Toolbar.Draw]\nButtonCount=1\nButton0=Bold\n");
    lib = automation::makeObject<core::ZuzuzudLibrary>();
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/");
    lib->ShellApplicationObject(app);
    app->on("Broadcast", [this](FakeObject&, std::span<Arg> args) {
      auto palettes = FrmToolPalette::loadedPalettes();
      broadcasts.push_back(automation::toString(args[0].value()) +
                           (!palettes.empty() && palettes.back()->Visible() ? " (palette shown)" : ""));
      return Variant();
    });
    hostWindow = screen->createWindow(quiet_, {0, 0, 800, 600});
    form->set("hWnd", Variant(int32_t{hostWindow}));
    hostBar->set("Tag", Variant("Name=Draw;Home=LEFT;Visible=Yes"));
    tbm->items.push_back(hostBar);
  }

  ~PaletteTest() override {
    for (auto& p : FrmToolPalette::loadedPalettes()) {
      try {
        p->Tag(FrmToolPalette::DontDock);
        p->unload();
      } catch (...) {
      }
    }
    platform::registerControl(FrmToolPalette::ToolbarProgId, previousFactory_);
    // The fakes' logs hold their arguments: the host bar and a palette bar that copied
    // states both ways would keep each other.
    hostBar->clearCalls();
    for (auto& bar : paletteBars) bar->clearCalls();
  }

  // Floats the host bar and returns its palette.
  Ref<FrmToolPalette> floatBar() {
    lib->KaTFloat(ObjectRef(form), ObjectRef(hostBar));
    return FrmToolPalette::loadedPalettes().back();
  }
  static FlowToolbar& barOf(const FrmToolPalette& p) { return dynamic_cast<FlowToolbar&>(*p.bar()); }
  platform::PixelRect rectOf(const FrmToolPalette& p) const { return screen->windowRect(p.hWnd()); }
  // How often a property of a fake was written.
  static int lets(const FakeObject& o, const std::string& name) {
    int n = 0;
    for (const auto& c : o.calls()) n += c.name == name && c.kind == InvokeKind::PropertyLet;
    return n;
  }
  std::string prop(const ObjectRef& bar, const char* key) const {
    return automation::toString(lib->KaTGetProp(bar, key, Variant("-")));
  }

  HeadlessScreen screen;
  TempDir dir;
  Ref<FakeToolbarManager> tbm = automation::makeObject<FakeToolbarManager>();
  Ref<FakeShellApp> app = automation::makeObject<FakeShellApp>();
  Ref<FakeForm> form = automation::makeObject<FakeForm>();
  Ref<FakeToolbar> hostBar = form->bar(0);
  Ref<core::ZuzuzudLibrary> lib;
  platform::WindowHandle hostWindow = 0;
  std::vector<Ref<FlowToolbar>> paletteBars;
  std::vector<std::string> broadcasts;

 private:
  QuietWindow quiet_;
  platform::ControlFactory previousFactory_;
};

}  // namespace zadeve::support
