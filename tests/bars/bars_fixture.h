#pragma once
// Shared by the bar-set tests: a library on a headless screen whose pixels differ in
// width and height (15 and 12 twips, so a mix-up shows), recording host fakes wired
// into the current workspace, and forms whose bar array is filled from property strings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "platform/current_directory.h"
#include "support/fake_host.h"
#include "support/headless_screen.h"

namespace zadeve::core {

using automation::makeObject;
using support::FakeForm;
using support::FakeShellApp;
using support::FakeToolbar;
using support::FakeToolbarManager;

inline constexpr int PixelX = 15;
inline constexpr int PixelY = 12;

// Loads element i of a fake form's bar array as the runtime would, without leaving the
// call in the array's log.
inline Ref<FakeToolbar> loadElement(FakeForm& form, int16_t i) {
  automation::callMethod(form.bars(), "Load", {Variant(i)});
  form.bars().clearCalls();
  return form.bar(i);
}

// A form whose elements 0, 1, ... carry the given Tags, with empty call logs.
inline Ref<FakeForm> formWithBars(const std::vector<std::string>& tags, int32_t width = 9000,
                                  int32_t height = 6000) {
  auto form = makeObject<FakeForm>("frmMain", width, height);
  for (size_t i = 0; i < tags.size(); ++i) {
    auto bar = i == 0 ? form->bar(0) : loadElement(*form, static_cast<int16_t>(i));
    bar->set("Tag", Variant(tags[i]));
  }
  form->clearCalls();
  return form;
}

// Puts the process's current directory back when a test that moved it ends.
class CurrentDirectoryGuard {
 public:
  CurrentDirectoryGuard() : saved_(platform::currentDirectory()) {}
  ~CurrentDirectoryGuard() {
    try {
      platform::changeDirectory(saved_);
    } catch (...) {
    }
  }

 private:
  std::string saved_;
};

class BarsTest : public ::testing::Test {
 protected:
  BarsTest() {
    screen->setTwipsPerPixel(PixelX, PixelY);
    lib = makeObject<ZuzuzudLibrary>();
    lib->InitialiseZADEVE(tbm, "", "");
    lib->ShellApplicationObject(app);
  }

  ::zadeve::support::HeadlessScreen screen;
  Ref<FakeToolbarManager> tbm = makeObject<FakeToolbarManager>();
  Ref<FakeShellApp> app = makeObject<FakeShellApp>();
  Ref<ZuzuzudLibrary> lib;
};

}  // namespace zadeve::core
