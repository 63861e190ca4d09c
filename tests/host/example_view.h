#pragma once
// A library on the reference host with our real toolbar control, its objects made through the
// public reference host, and the shipped example view built on a headless form: the setting
// of the host stories.

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

using automation::byRef;
using automation::makeObject;
using automation::ObjectRef;
using automation::objectAs;
using automation::Ref;
using automation::Variant;
using palette::FrmToolPalette;
using vizevore::ReVivezav;

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
    try {
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }
  Ref<HeadlessForm> setup(const std::string& view, int w = 800, int h = 600, const std::string& name = "frmMain") {
    forms.push_back(objectAs<HeadlessForm>(reference::newForm(name, w, h, lib, app)));
    automation::callMethod(*lib, "KaTSetup", {Variant(forms.back()), view});
    return forms.back();
  }

  support::HeadlessScreen screen{15};
  std::string directory = platform::currentDirectory();
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

}  // namespace zadeve::host
