#pragma once
// Shared by the bar builder tests: a library whose configuration file and bitmap folder
// are a fresh folder holding the real icon strips, a recording host application and a
// recording toolbar control.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "automation/error.h"
#include "core/zuzuzud_library.h"
#include "platform/picture.h"
#include "support/automation_assert.h"
#include "support/fake_host.h"
#include "support/headless_screen.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {

using automation::makeObject;
using support::FakeObject;
using support::FakeShellApp;
using support::FakeToolbar;
using Lines = std::vector<std::string>;

// "[Toolbar.<name>]" with its ButtonCount, any extra lines, and one Button<n> per entry.
inline std::string toolbarSection(const std::string& name, const Lines& buttons, const std::string& extra = "") {
  std::string s = "[Toolbar." + name + "]\nButtonCount=" + std::to_string(buttons.size()) + "\n" + extra;
  for (size_t i = 0; i < buttons.size(); ++i) s += "Button" + std::to_string(i) + "=" + buttons[i] + "\n";
  return s;
}

// The described calls whose names start with `prefix` ("" for all), reads of Tag left out.
inline Lines callsOf(const FakeObject& tb, std::string_view prefix = "") {
  Lines out;
  for (const auto& c : tb.calls())
    if (c.name.starts_with(prefix) && c.name != "Tag") out.push_back(c.describe());
  return out;
}

inline std::vector<Ref<platform::Picture>> imageSetPictures(const FakeObject& tb) {
  std::vector<Ref<platform::Picture>> out;
  for (const auto& c : tb.calls())
    if (c.name == "AddImageSet")
      out.push_back(automation::objectAs<platform::Picture>(automation::toObject(c.args.at(0))));
  return out;
}

// A member that refuses every call with error `number`.
inline FakeObject::Handler refuse(int32_t number, std::string text = {}) {
  return [=](FakeObject&, std::span<automation::Arg>) -> Variant { automation::raise(number, text); };
}

class BuildTest : public ::testing::Test {
 protected:
  BuildTest() {
    for (const char* file : {"std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(std::string(ZADEVE_TEST_DATA) + "/pictures/" + file, dir.file(file));
    lib->InitialiseZADEVE(nullptr, dir.file("BARS.INI"), dir.path().string() + "/");
    lib->ShellApplicationObject(app);
  }

  void writeIni(const std::string& text) const { dir.write("BARS.INI", text); }

  // Fills the test's toolbar as bar set setup would, with the given property string.
  void fill(const std::string& tag, bool floating = false) {
    tb->set("Tag", Variant(tag));
    tb->clearCalls();
    LibraryInternals::FillBar(*lib, tb, floating);
  }

  support::HeadlessScreen screen;
  support::TempDir dir;
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
  Ref<FakeShellApp> app = makeObject<FakeShellApp>();
  Ref<FakeToolbar> tb = makeObject<FakeToolbar>();
};

}  // namespace zadeve::core
