// Workspaces share the process-wide library, each call runs with its own workspace current,
// calls nest through host code, and an error leaves the workspace stack as it found it.

#include <gtest/gtest.h>

#include <functional>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/fake_host.h"
#include "support/headless_screen.h"
#include "support/temp_dir.h"
#include "workspace/process_library.h"
#include "workspace/workspace_creation.h"

namespace zadeve::workspace {
namespace {

using namespace automation;
using core::ZuzuzudWorkspace;
using support::FakeObject;

class WorkspaceProxies : public ::testing::Test {
 protected:
  // A workspace from the creation class's face, initialised through its own proxy on a
  // file whose [S] K holds `value`.
  Ref<ZuzuzudWorkspace> workspaceOn(const std::string& file, const std::string& value) {
    auto creation = makeObject<WorkspaceCreation>();
    auto ws = objectAs<ZuzuzudWorkspace>(toObject(callMethod(*creation, "NewZuzuzudWorkspace")));
    EXPECT_TRUE(ws);
    callMethod(*ws, "InitialiseZADEVE", {Variant(ObjectRef(tbm)), Variant(dir.write(file, "[S]\nK=" + value + "\n")), Variant("")});
    setProperty(*ws, "ShellApplicationObject", app);
    return ws;
  }
  static std::string config(Object& face) {
    return toString(callMethod(face, "GetConfigValue", {Variant("S"), Variant("K"), Variant("-")}));
  }
  // Which workspace the process-wide library has current, and how many wait under it.
  static std::pair<ZuzuzudWorkspace*, int32_t> stack() {
    auto lib = processLibrary();
    return {lib->CurrentWorkspace().get(), lib->WorkspaceDepth()};
  }
  static std::pair<ZuzuzudWorkspace*, int32_t> idle() { return {processLibrary()->DefaultWorkspace().get(), 0}; }
  // A toolbar whose Tag, read by the library, runs host code first.
  Ref<FakeObject> barRunning(std::function<void()> hostCode) {
    auto bar = makeObject<FakeObject>("ReVivezav");
    bar->on("Tag", [hostCode](FakeObject&, std::span<Arg>) { return hostCode(), Variant("Name=Draw"); });
    return bar;
  }

  support::HeadlessScreen screen;
  support::TempDir dir;
  Ref<support::FakeToolbarManager> tbm = makeObject<support::FakeToolbarManager>();
  Ref<support::FakeShellApp> app = makeObject<support::FakeShellApp>();
};

TEST_F(WorkspaceProxies, TwoWorkspacesAndAHostLibraryEachReadAndWriteTheirOwnFile) {
  auto w = workspaceOn("w.ini", "w");
  auto v = workspaceOn("v.ini", "v");
  auto lib = makeObject<core::ZuzuzudLibrary>();
  lib->InitialiseZADEVE(tbm, dir.write("host.ini", "[S]\nK=host\n"), "");

  callMethod(*w, "SetConfigValue", {Variant("S"), Variant("K"), Variant("w2")});
  EXPECT_EQ(config(*v), "v");
  EXPECT_EQ(config(*lib), "host");
  callMethod(*v, "ClearConfigSection", {Variant("S")});
  EXPECT_EQ(config(*w), "w2");
  EXPECT_EQ(config(*v), "-");
  EXPECT_EQ(getProperty(*w, "BarsConfigFile"), Variant(dir.file("w.ini")));

  EXPECT_EQ(support::TempDir::read(dir.file("w.ini")), "[S]\nK=w2\n");
  EXPECT_EQ(support::TempDir::read(dir.file("host.ini")), "[S]\nK=host\n");
  EXPECT_FALSE(processLibrary() == lib) << "workspaces never use a library the host made";
  EXPECT_EQ(lib->WorkspaceDepth(), 0);
  EXPECT_EQ(processLibrary()->DefaultWorkspace()->BarsConfigFile(), "") << "nothing lands on the default";
  EXPECT_EQ(stack(), idle());
}

// What the library writes to a by-reference argument reaches the host's own Variant,
// whether it was of the parameter's type or had to be converted.
TEST_F(WorkspaceProxies, OutValuesReachTheHostsVariables) {
  auto w = workspaceOn("w.ini", "w");
  dir.write("w.ini", "[Functions]\nIconSetCount=2\nIconSet0=Std\nIconSet1=Big\n");
  Variant number(int16_t(9));
  Variant asLong(int32_t(9));
  EXPECT_EQ(callMethod(*w, "GetIconSetNumber", {Variant("Big"), byRef(number)}), Variant(true));
  EXPECT_EQ(callMethod(*w, "GetIconSetNumber", {Variant("Std"), byRef(asLong)}), Variant(true));
  EXPECT_EQ(number, Variant(int16_t(1)));
  EXPECT_EQ(asLong, Variant(int16_t(0)));

  // The free rectangle left by the form's one bar: the same as the host's own library says.
  auto form = makeObject<support::FakeForm>("frmMain", 9000, 6000);
  auto edgesThrough = [&](Object& face) {
    std::vector<Variant> edges(4, Variant(int16_t(-5)));
    callMethod(face, "KaTLayout", {Variant(ObjectRef(form)), byRef(edges[0]), byRef(edges[1]), byRef(edges[2]), byRef(edges[3])});
    return edges;
  };
  auto lib = makeObject<core::ZuzuzudLibrary>();
  lib->InitialiseZADEVE(makeObject<support::FakeToolbarManager>(), dir.file("w.ini"), "");
  auto edges = edgesThrough(*w);
  EXPECT_EQ(edges, edgesThrough(*lib));
  EXPECT_EQ(edges[1], Variant(int16_t(330))) << "the form's one bar docked at the top";

  auto bar = makeObject<support::FakeToolbar>();
  bar->set("Tag", Variant("Name=Draw;Home=LEFT"));
  EXPECT_EQ(callMethod(*w, "KaTGetProp", {Variant(ObjectRef(bar)), Variant("Home"), Variant("")}), Variant("LEFT"));
  EXPECT_EQ(stack(), idle());
}

// Restore-on-error: the host gets the error with the stack as it was before the call,
// at the top level and inside a call that another workspace's call set off.
TEST_F(WorkspaceProxies, AnErrorInsideAProxyLeavesTheStackAsItWas) {
  auto w = workspaceOn("w.ini", "w");
  auto v = workspaceOn("v.ini", "v");
  EXPECT_AUTOMATION_ERROR(setProperty(*w, "ShellApplicationObject", nullptr), 20000,
                          "Invalid application object");
  EXPECT_TRUE(w->ShellApp() == app) << "the earlier host object stays";
  EXPECT_EQ(stack(), idle());
  EXPECT_AUTOMATION_ERROR(callMethod(*w, "GetConfigValue", {Variant("S")}), 449, "item");
  EXPECT_EQ(stack(), idle());

  std::pair<ZuzuzudWorkspace*, int32_t> afterInnerError;
  auto bar = barRunning([&] {
    EXPECT_AUTOMATION_ERROR(setProperty(*v, "ShellApplicationObject", nullptr), 20000, "Invalid");
    afterInnerError = stack();
    raise(err::InvalidCall, "host code failed");
  });
  EXPECT_AUTOMATION_ERROR(callMethod(*w, "KaTBarName", {Variant(ObjectRef(bar))}), 5, "host code failed");
  EXPECT_EQ(afterInnerError, std::make_pair(w.get(), int32_t(1)));
  EXPECT_EQ(stack(), idle());
  EXPECT_TRUE(screen->messages().empty()) << "no underflow on the way";
}

}  // namespace
}  // namespace zadeve::workspace
