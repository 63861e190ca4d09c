// Two workspaces, each with the example view on a form of its own, through the real
// control: scans, function state and list items stay within the workspace that asked.

#include <gtest/gtest.h>

#include "automation/conversions.h"
#include "host/example_view.h"
#include "workspace/process_library.h"
#include "workspace/workspace_creation.h"

namespace zadeve::host {
namespace {

using automation::byRef;
using automation::callMethod;
using core::ZuzuzudWorkspace;

// One host context: a workspace, its toolbar manager and its form with the example view,
// every call made through the workspace's face.
struct Context {
  Context() {
    callMethod(*ws, "InitialiseZADEVE",
               {Variant(tbm), (examples() / "BARS.INI").string(), (examples() / "").string()});
    automation::setProperty(*ws, "ShellApplicationObject", app);
    form->setLibrary(ws);
    form->setApplication(app);
    callMethod(*ws, "KaTSetup", {Variant(form), "MainView"});
  }
  ~Context() { closeWithoutDocking(*form); }
  Variant call(const char* member, std::initializer_list<automation::Arg> args = {}) {
    return callMethod(*ws, member, args);
  }
  ObjectRef foundBar() const { return automation::toObject(automation::getProperty(*ws, "aBar")); }

  Ref<ZuzuzudWorkspace> ws = workspace::WorkspaceCreation::NewZuzuzudWorkspace();
  Ref<ToolbarManager> tbm = makeObject<ToolbarManager>();
  Ref<ShellApplication> app = makeObject<ShellApplication>();
  Ref<HeadlessForm> form = makeObject<HeadlessForm>("frmMain", 800, 600);
};

class WorkspaceStories : public ::testing::Test {
 protected:
  ~WorkspaceStories() override {
    try {
      platform::changeDirectory(directory);
    } catch (...) {
    }
  }
  support::HeadlessScreen screen{15};
  std::string directory = platform::currentDirectory();
  Context w, v;
};

// Bold sits on the Format bar only: a cursor that V's scan had moved would find V's.
TEST_F(WorkspaceStories, AScanInOneWorkspaceDoesNotMoveAnothersCursor) {
  w.call("KaTBeginScanFunction", {Variant(w.form), "Bold"});
  EXPECT_EQ(w.call("KaTNextScanFunction"), Variant(true));
  EXPECT_TRUE(w.foundBar() == w.form->bar(Format));

  v.call("KaTBeginScan", {Variant(v.form)});
  EXPECT_EQ(v.call("KATNextScan"), Variant(true));
  EXPECT_TRUE(v.foundBar() == v.form->bar(File));
  EXPECT_TRUE(w.foundBar() == w.form->bar(Format)) << "V's scan wrote its own aBar";

  EXPECT_EQ(w.call("KaTNextScanFunction"), Variant(false));
}

TEST_F(WorkspaceStories, FunctionStateAndListItemsComeBackThroughTheProxy) {
  w.call("KaSetFunctionState", {Variant(w.form), "Bold", Variant(int16_t(-1))});
  Variant wState(int16_t(5)), vState(int16_t(5));
  EXPECT_EQ(w.call("KaTGetFunctionState", {Variant(w.form), "Bold", byRef(wState)}), Variant(true));
  EXPECT_EQ(v.call("KaTGetFunctionState", {Variant(v.form), "Bold", byRef(vState)}), Variant(true));
  EXPECT_EQ(wState, Variant(int16_t(-1)));
  EXPECT_EQ(vState, Variant(int16_t(0)));

  for (auto [item, data] : {std::pair{"Serif", 3}, {"Sans", 8}})
    w.call("KaAddFunctionListItem", {Variant(w.form), "FontName", item, Variant(int32_t(data))});
  w.call("KaSetItemIndexByText", {Variant(w.form), "FontName", "sans"});
  Variant wItem("none"), wData(int32_t(-1)), vItem("none"), vData(int32_t(-1));
  w.call("KaGetFunctionListItem", {Variant(w.form), "FontName", byRef(wItem), byRef(wData)});
  v.call("KaGetFunctionListItem", {Variant(v.form), "FontName", byRef(vItem), byRef(vData)});
  EXPECT_EQ(wItem, Variant("Sans"));
  EXPECT_EQ(wData, Variant(int32_t(8)));
  EXPECT_EQ(vItem, Variant("none")) << "V's combo has no selection";
  EXPECT_EQ(vData, Variant(int32_t(-1)));

  auto lib = workspace::processLibrary();
  EXPECT_TRUE(lib->CurrentWorkspace() == lib->DefaultWorkspace());
  EXPECT_EQ(lib->WorkspaceDepth(), 0);
}

}  // namespace
}  // namespace zadeve::host
