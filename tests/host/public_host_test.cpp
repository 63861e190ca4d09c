// The public face (include/zadeve/): a host that knows only those headers creates the
// library and the reference host's objects, builds a form and learns of reports. The
// installed package is built and run by ./run test; here, what it cannot see.

#include <gtest/gtest.h>

#include <sstream>

#include "core/host_contracts.h"
#include "host/headless_form.h"
#include "platform/current_directory.h"
#include "support/automation_assert.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"
#include "zadeve/reference_host.h"
#include "zadeve/zadeve.h"

namespace zadeve {
namespace {

using automation::callMethod;
using automation::ObjectRef;
using automation::Variant;

struct RestoreDirectory {
  std::string directory = platform::currentDirectory();
  ~RestoreDirectory() {
    try {
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }
};

// A host form is an Object of the host's own; the reference form needs the reference
// application object to run commands through.
TEST(PublicHost, ReferenceFormRefusesAForeignApplicationObject) {
  ObjectRef lib = createLibrary();
  EXPECT_AUTOMATION_ERROR(reference::newForm("frmMain", 100, 100, lib, reference::newToolbarManager()), 13,
                          "ToolbarManager");
  EXPECT_AUTOMATION_ERROR(reference::reportCount(lib), 13, "reference application");
  EXPECT_EQ(createWorkspaceCreation()->typeName(), "WorkspaceCreation");
}

// The library's reports reach the host through MsgBoxSub; the reference application keeps
// them and echoes them to the stream it was given. The form lays its bars out on REFORMAT
// through the library it was given.
TEST(PublicHost, ASetupOnlyThroughThePublicHeaders) {
  support::TempDir dir;
  dir.write("BARS.INI",
            "[Main.Toolbars]\nBarCount=1\nBar0=Name=File;Home=TOP;Visible=Yes\n"
            "[Functions]\nNew=PUSH,,New|~0~0\n"
            "[Toolbar.File]\nButtonCount=2\nButton0=New\nButton1=Export\n");
  support::HeadlessScreen screen;
  const RestoreDirectory restore;  // KaTSetup moves into the bitmap folder
  reference::registerControls();
  std::ostringstream reports;
  ObjectRef lib = createLibrary(), tbm = reference::newToolbarManager(), app = reference::newApplication(&reports);
  ObjectRef form = reference::newForm("frmMain", 800, 600, lib, app);
  callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), dir.file("BARS.INI"), dir.file(""), ""});
  automation::setProperty(*lib, "ShellApplicationObject", app);
  callMethod(*lib, "KaTSetup", {Variant(form), "Main"});

  EXPECT_EQ(reference::reportCount(app), 1);
  EXPECT_NE(reports.str().find("Export"), std::string::npos) << reports.str();
  EXPECT_EQ(automation::toInteger(callMethod(*tbm, "Count")), 1);
  automation::letProperty(*form, "Signal", std::string(host_contract::signal::Reformat));
  auto& headless = dynamic_cast<host::HeadlessForm&>(*form);
  ASSERT_TRUE(headless.freeRectangle());
  EXPECT_GT(headless.freeRectangle()->top, 0) << "the File bar takes the top";

  callMethod(*form, "Unload");
  EXPECT_EQ(automation::toInteger(callMethod(*tbm, "Count")), 0);
}

// The words a host answers are the ones the library and its toolbars use.
TEST(PublicHost, ContractNamesAreTheLibrarysOwn) {
  namespace events = core::toolbar_events;
  EXPECT_EQ(host_contract::events::ButtonClick, events::ButtonClick);
  EXPECT_EQ(host_contract::events::ButtonChange, events::ButtonChange);
  EXPECT_EQ(host_contract::events::ButtonSpinUp, events::ButtonSpinUp);
  EXPECT_EQ(host_contract::events::ButtonSpinDown, events::ButtonSpinDown);
  EXPECT_EQ(host_contract::events::BarContextMenu, events::BarContextMenu);
}

}  // namespace
}  // namespace zadeve
