#pragma once
// A library on a fresh folder holding BARS.INI and the real icon strips, recording host
// fakes, and a headless screen whose pixels are 15 x 12 twips, so a mix-up shows.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "automation/error.h"
#include "core/zuzuzud_library.h"
#include "platform/picture.h"
#include "support/fake_host.h"
#include "support/headless_screen.h"
#include "support/in_directory.h"
#include "support/temp_dir.h"

namespace zadeve::support {

class ToolbarTest : public ::testing::Test {
 protected:
  using Lines = std::vector<std::string>;
  static constexpr int PixelX = 15;
  static constexpr int PixelY = 12;

  ToolbarTest() {
    screen->setTwipsPerPixel(PixelX, PixelY);
    for (const char* file : {"std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(std::string(ZADEVE_TEST_DATA) + "/pictures/" + file, dir.file(file));
    lib = automation::makeObject<core::ZuzuzudLibrary>();
    lib->InitialiseZADEVE(tbm, dir.file("BARS.INI"), dir.path().string() + "/");
    lib->ShellApplicationObject(app);
  }

  void writeIni(const std::string& text) const { dir.write("BARS.INI", text); }

  // "[Toolbar.<name>]" with its ButtonCount, any extra lines, and one Button<n> per entry.
  static std::string toolbarSection(const std::string& name, const Lines& buttons, const std::string& extra = "") {
    std::string s = "[Toolbar." + name + "]\nButtonCount=" + std::to_string(buttons.size()) + "\n" + extra;
    for (size_t i = 0; i < buttons.size(); ++i) s += "Button" + std::to_string(i) + "=" + buttons[i] + "\n";
    return s;
  }

  // The described calls whose names start with `prefix` ("" for all), reads of Tag left out.
  static Lines callsOf(const FakeObject& object, std::string_view prefix = "") {
    Lines out;
    for (const auto& c : object.calls())
      if (c.name.starts_with(prefix) && c.name != "Tag") out.push_back(c.describe());
    return out;
  }

  static std::vector<Ref<platform::Picture>> imageSetPictures(const FakeObject& tb) {
    std::vector<Ref<platform::Picture>> out;
    for (const auto& c : tb.calls())
      if (c.name == "AddImageSet")
        out.push_back(automation::objectAs<platform::Picture>(automation::toObject(c.args.at(0))));
    return out;
  }

  // A member that refuses every call with error `number`.
  static FakeObject::Handler refuse(int32_t number, std::string text = {}) {
    return [=](FakeObject&, std::span<Arg>) -> Variant { automation::raise(number, text); };
  }

  // A form whose elements 0, 1, ... carry the given Tags, with empty call logs.
  static Ref<FakeForm> formWithBars(const Lines& tags) {
    auto form = automation::makeObject<FakeForm>();
    for (size_t i = 0; i < tags.size(); ++i) {
      if (i > 0) automation::callMethod(form->bars(), "Load", {Variant(int16_t(i))});
      form->bar(int16_t(i))->set("Tag", Variant(tags[i]));
    }
    form->clearCalls();
    form->bars().clearCalls();
    return form;
  }

  // Where the layout put a bar, as "left,top widthxheight eEdgeFlags1 H|V", " z" when it
  // was brought to the front, or "-" when nothing was set on it; border flags other than a
  // docked bar's are flagged.
  static std::string placement(const FakeToolbar& bar) {
    bool touched = false;
    for (const auto& c : bar.calls()) touched |= c.kind == InvokeKind::PropertyLet;
    if (!touched) return "-";
    auto p = [&](const char* name) { return automation::toString(bar.property(name)); };
    std::string s = p("Left") + "," + p("Top") + " " + p("Width") + "x" + p("Height") + " e" + p("EdgeFlags1") +
                    (automation::toBoolean(bar.property("Vertical")) ? " V" : " H") + (bar.count("ZOrder") ? " z" : "");
    if (p("BorderFlags1") != "6" || p("BorderFlags2") != "0" || p("EdgeFlags2") != "0") s += " bad borders";
    return s;
  }

  HeadlessScreen screen;
  TempDir dir;
  InDirectory cwd;  // bar set setup moves into the bitmap folder
  Ref<FakeToolbarManager> tbm = automation::makeObject<FakeToolbarManager>();
  Ref<FakeShellApp> app = automation::makeObject<FakeShellApp>();
  Ref<core::ZuzuzudLibrary> lib;
};

}  // namespace zadeve::support
