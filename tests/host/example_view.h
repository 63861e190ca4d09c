#pragma once
// The shipped example view built by the library on a headless host form with our real
// toolbar control: the setting of the main road and palette stories.

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "platform/current_directory.h"
#include "support/headless_screen.h"

namespace zadeve::host {

using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;
using vizevore::ReVivezav;

inline const std::filesystem::path& examples() {
  static const std::filesystem::path folder =
      std::filesystem::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples";
  return folder;
}

// The bars of the example view, by element.
enum Bar { File, Format, Draw, View, Sketch, Status, Tools };

class ExampleView : public ::testing::Test {
 protected:
  static constexpr int Pixel = 15;

  ExampleView() {
    registerReferenceControls();
    form->setLibrary(lib);
    form->setApplication(app);
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(tbm), (examples() / "BARS.INI").string(), (examples() / "").string()});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    automation::callMethod(*lib, "KaTSetup", {Variant(form), "MainView"});
  }
  ~ExampleView() override {
    try {
      // As the host's Form_Unload: the form lets the library go, which may hold the form
      // as its scan form.
      form->unload();
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }

  Ref<ReVivezav> bar(Bar b) const { return form->bar(b); }

  support::HeadlessScreen screen{Pixel};
  std::string directory = platform::currentDirectory();
  Ref<core::ZuzuzudLibrary> lib = makeObject<core::ZuzuzudLibrary>();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 800, 600);
};

}  // namespace zadeve::host
