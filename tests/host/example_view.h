#pragma once
// The shipped example view built by the library on a headless host form with our real
// toolbar control, the host's objects made through the public reference host: the
// setting of the host stories.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "palette/tool_palette.h"
#include "platform/current_directory.h"
#include "support/headless_screen.h"
#include "zadeve/reference_host.h"
#include "zadeve/zadeve.h"

namespace zadeve::host {

using automation::makeObject;
using automation::ObjectRef;
using automation::objectAs;
using automation::Ref;
using automation::Variant;
using vizevore::ReVivezav;

inline const std::filesystem::path examples() {
  return std::filesystem::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples";
}

// Closes every palette without docking, then unloads the form. A palette floated through
// a workspace docks on whatever workspace is current when it closes (the default one, in
// a test, with no host objects); the form and the workspace it lays out through keep
// each other until it unloads.
inline void closeWithoutDocking(HeadlessForm& form) {
  for (auto& p : palette::FrmToolPalette::loadedPalettes()) {
    try {
      p->Tag(palette::FrmToolPalette::DontDock);
      p->unload();
    } catch (const automation::AutomationError&) {
    }
  }
  try {
    form.unload();
  } catch (const automation::AutomationError&) {
  }
}

inline Variant i2(int v) { return Variant(int16_t(v)); }
inline Variant i4(int v) { return Variant(int32_t(v)); }

// The bars of the example view, by element.
enum Bar { File, Format, Draw, View, Sketch, Status, Tools };

class ExampleView : public ::testing::Test {
 protected:
  static constexpr int Pixel = 15;

  ExampleView() {
    reference::registerControls();
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(tbm), (examples() / "BARS.INI").string(), (examples() / "").string()});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    automation::callMethod(*lib, "KaTSetup", {Variant(form), "MainView"});
  }
  ~ExampleView() override {
    // As the host's Form_Unload: the form lets the library go, which may hold the form
    // as its scan form.
    closeWithoutDocking(*form);
    try {
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }

  Ref<ReVivezav> bar(Bar b) const { return form->bar(b); }
  std::string prop(Bar b, const char* key) {
    return automation::toString(lib->KaTGetProp(ObjectRef(bar(b)), key, Variant("-")));
  }

  support::HeadlessScreen screen{Pixel};
  std::string directory = platform::currentDirectory();
  std::ostringstream echoed;  // the reports, as the application echoes them
  Ref<core::ZuzuzudLibrary> lib = objectAs<core::ZuzuzudLibrary>(createLibrary());
  Ref<ToolbarManager> tbm = objectAs<ToolbarManager>(reference::newToolbarManager());
  Ref<ShellApplication> app = objectAs<ShellApplication>(reference::newApplication(&echoed));
  Ref<HeadlessForm> form = objectAs<HeadlessForm>(reference::newForm("frmMain", 800, 600, lib, app));
};

}  // namespace zadeve::host
