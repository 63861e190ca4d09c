// Every member of the library's and the workspace's dispatch faces called late-bound, on
// the example view with our real control, through the library object and through a
// workspace of its own: each row must bind its arguments as a host passes them, and a
// case checks what the call is for where that is cheap to see. (Slots, kinds and
// signatures are the interface tables test's.)

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <tuple>
#include <sstream>

#include "automation/conversions.h"
#include "core/zuzuzud_workspace.h"
#include "host/example_view.h"
#include "support/temp_dir.h"
#include "workspace/workspace_creation.h"

namespace zadeve::host {
namespace {

using automation::Arg;
using automation::byRef;
using automation::InvokeKind;

enum Faces { Library = 1, Workspace = 2, Both = 3 };

// The face under test with a form of its own carrying the example view, on a copy of the
// example files (some members write the configuration file).
class Face : public ExampleView {
 public:
  using ExampleView::app;
  void on(Faces f) {
    for (const char* file : {"BARS.INI", "std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(examples() / file, dir.file(file));
    face = lib, frm = form, ownTbm = tbm;
    if (f == Workspace) {
      face = workspace::WorkspaceCreation::NewZuzuzudWorkspace();
      frm = makeObject<HeadlessForm>("frmOther", 800, 600);
      frm->setLibrary(face);
      frm->setApplication(app);
      ownTbm = makeObject<ToolbarManager>();
    }
    call("InitialiseZADEVE", {Variant(ownTbm), ini(), dir.path().string() + "/"});
    if (f == Workspace) {
      automation::setProperty(*face, "ShellApplicationObject", app);
      call("KaTSetup", {Variant(frm), "MainView"});
    }
  }
  ~Face() override { closeWithoutDocking(*frm); }

  Variant call(const char* member, std::initializer_list<Arg> args = {}) {
    return automation::callMethod(*face, member, args);
  }
  Variant get(const char* member) { return automation::getProperty(*face, member); }
  void let(const char* member, Variant v) { automation::letProperty(*face, member, std::move(v)); }
  Variant bar(Bar b) const { return Variant(ObjectRef(frm->bar(b))); }
  Variant f() const { return Variant(ObjectRef(frm)); }
  std::string ini() const { return dir.file("BARS.INI"); }

  support::TempDir dir;
  ObjectRef face;
  Ref<HeadlessForm> frm;
  Ref<ToolbarManager> ownTbm;
};


struct Case {
  const char* name;
  const char* rows;  // the rows it calls: "Member" for a method, "Member:gls" for its get/let/set
  std::function<void(Face&)> run;
  Faces faces = Both;
};

const std::vector<Case>& cases() {
  using F = Face;
  static const std::vector<Case> all = {
      {"Configuration",
       "BarsConfigFile:gl BarsBitmapsDir:gl GetConfigValue SetConfigValue ClearConfigSection GetIconSetNumber "
       "InitialiseZADEVE",
       [](F& t) {
         EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.ini()));
         EXPECT_EQ(t.get("BarsBitmapsDir"), Variant(t.dir.path().string() + "/"));
         EXPECT_EQ(t.call("GetConfigValue", {"Toolbar.Sketch", "Button0", ""}), Variant("SketchPad"));
         EXPECT_NE(t.call("SetConfigValue", {"Debug", "ReportMissing", "0"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", ""}), Variant("0"));
         EXPECT_NE(t.call("ClearConfigSection", {"Debug"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", "-"}), Variant("-"));
         Variant number = i2(0);
         EXPECT_EQ(t.call("GetIconSetNumber", {"big24.bmp,24,24", byRef(number)}), Variant(true));
         EXPECT_EQ(number, i2(1));
         t.let("BarsConfigFile", Variant(t.dir.file("other.ini")));
         t.let("BarsBitmapsDir", Variant("bmp/"));
         EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.dir.file("other.ini")));
         EXPECT_EQ(t.get("BarsBitmapsDir"), Variant("bmp/"));
         t.call("InitialiseZADEVE", {Variant(t.ownTbm), Variant("x.ini"), Variant("y/")});
         EXPECT_EQ(t.get("BarsConfigFile"), Variant("x.ini"));
       }},
      {"BarProperties", "KaTBarName KaTGetProp KaTSetProp KaTIsVisible KaTSetVisible",
       [](F& t) {
         EXPECT_EQ(t.call("KaTBarName", {t.bar(Format)}), Variant("Format"));
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("LEFT"));
         t.call("KaTSetProp", {t.bar(Draw), "Home", "RIGHT"});
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("RIGHT"));
         EXPECT_EQ(t.call("KaTIsVisible", {t.bar(Draw)}), i2(-1));
         t.call("KaTSetVisible", {t.f(), t.bar(View), i2(0)});
         EXPECT_EQ(t.call("KaTIsVisible", {t.bar(View)}), i2(0));
       }},
      {"Bars", "KaTBuildBar KaTRebuildBar KaTCopyBarState KaTLayout KaTSetup",
       [](F& t) {
         t.call("KaTBuildBar", {t.bar(Sketch), "Sketch"});
         t.call("KaTRebuildBar", {t.bar(View)});
         t.call("KaTCopyBarState", {t.bar(View), t.bar(Tools)});
         Variant e[4];
         t.call("KaTLayout", {t.f(), byRef(e[0]), byRef(e[1]), byRef(e[2]), byRef(e[3])});
         EXPECT_GT(automation::toLong(e[1]), 0) << "bars are docked at the top";
         EXPECT_EQ(e[3].type(), automation::VarType::Integer);
         auto other = makeObject<HeadlessForm>("frmThird", 800, 600);
         other->setLibrary(t.face);
         t.call("KaTSetup", {Variant(ObjectRef(other)), "MainView"});
         EXPECT_EQ(t.call("KaTBarName", {Variant(ObjectRef(other->bar(Status)))}), Variant("Status"));
         other->unload();
       }},
      {"FloatAndUnload", "KaTFloat KaTUnloadBars",
       [](F& t) {
         auto before = palette::FrmToolPalette::loadedPalettes().size();
         t.call("KaTFloat", {t.f(), t.bar(Draw)});
         EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), before + 1);
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "State", ""}), Variant("Floating"));
         t.call("KaTUnloadBars", {t.f()});
         EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), before);
       }},
      {"Scans", "KaTBeginScan KATNextScan KaTBeginScanFunction KaTNextScanFunction",
       [](F& t) {
         t.call("KaTBeginScan", {t.f()});
         EXPECT_EQ(t.call("KATNextScan"), Variant(true));
         t.call("KaTBeginScanFunction", {t.f(), "Bold"});
         EXPECT_EQ(t.call("KaTNextScanFunction"), Variant(true));
       }},
      {"FunctionState",
       "KaSetFunctionState KaGetFunctionState KaTGetFunctionState KaSetFunctionEnabled KaGetFunctionEnabled "
       "KaSetButtonEnable KaSetFunctionVisible KaSetButtonTip",
       [](F& t) {
         Variant value = i2(5);
         EXPECT_EQ(t.call("KaTGetFunctionState", {t.f(), "Bold", byRef(value)}), Variant(true));
         EXPECT_EQ(value, i2(0));
         EXPECT_EQ(t.call("KaGetFunctionState", {t.f(), "Bold"}), i2(0));
         t.call("KaSetFunctionState", {t.f(), "Bold", i2(-1)});
         EXPECT_EQ(t.call("KaGetFunctionState", {t.f(), "Bold"}), i2(-1));
         EXPECT_EQ(t.call("KaGetFunctionEnabled", {t.f(), "EditCut", byRef(value)}), Variant(true));
         t.call("KaSetFunctionEnabled", {t.f(), "EditCut", i2(0)});
         t.call("KaSetButtonEnable", {t.f(), "EditCut", i2(0)});
         t.call("KaSetFunctionVisible", {t.f(), "Print", i2(0)});
         t.call("KaSetButtonTip", {t.f(), "Bold", "Bold text"});
       }},
      {"Lists", "KaAddFunctionListItem KaSetItemIndexByText KaSetItemIndexByData KaSetItemIndex KaGetFunctionListItem",
       [](F& t) {
         t.call("KaAddFunctionListItem", {t.f(), "FontName", "Serif", i4(3)});
         t.call("KaSetItemIndexByText", {t.f(), "FontName", "serif"});
         t.call("KaSetItemIndexByData", {t.f(), "FontName", i4(3)});
         t.call("KaSetItemIndex", {t.f(), "FontName", i4(0)});
         Variant item(""), data = i4(0);
         t.call("KaGetFunctionListItem", {t.f(), "FontName", byRef(item), byRef(data)});
         EXPECT_EQ(item, Variant("Serif"));
         EXPECT_EQ(data, i4(3));
       }},
      {"Status", "StatusMsg GetStatusMsg StatusProg",
       [](F& t) {
         EXPECT_TRUE(t.call("GetStatusMsg", {t.f(), "Coordinates"}).isString());
         t.call("StatusMsg", {t.f(), "StatusText", "Drawing"});
         EXPECT_EQ(t.call("GetStatusMsg", {t.f(), "StatusText"}), Variant("Drawing"));
         t.call("StatusProg", {t.f(), "Progress", i2(50)});
       }},
      // The workspace's aBar and spin values are its own fields, whose rows share the names.
      {"Fields", "ShellApplicationObject:s aBar:gs aSpinUp:gl aSpinDown:gl",
       [](F& t) {
         automation::setProperty(*t.face, "ShellApplicationObject", t.app);
         EXPECT_TRUE(t.get("aBar").isObject());
         automation::setProperty(*t.face, "aBar", t.bar(Draw).object());
         EXPECT_EQ(t.get("aBar"), t.bar(Draw));
         EXPECT_EQ(t.get("aSpinUp"), Variant(0.0f));
         EXPECT_EQ(t.get("aSpinDown"), Variant(0.0f));
         t.let("aSpinDown", Variant(2.5));
         t.let("aSpinUp", i2(4));
         EXPECT_EQ(t.get("aSpinDown"), Variant(2.5f));
         EXPECT_EQ(t.get("aSpinUp"), Variant(4.0f));
       }},
      {"LibraryOnly", "KaTDisableFloatingMenu KaTEnableFloatingMenu KaTReleaseBars",
       [](F& t) {
         t.call("KaTDisableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), -1);
         t.call("KaTEnableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), 0);
         t.call("KaTReleaseBars", {t.f()});
       },
       Library},
  };
  return all;
}

struct FaceCase {
  Faces face;
  const Case* c;
};

std::vector<FaceCase> faceCases() {
  std::vector<FaceCase> out;
  for (const auto& c : cases())
    for (Faces f : {Library, Workspace})
      if (c.faces & f) out.push_back({f, &c});
  return out;
}

class LateBound : public Face, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(LateBound, CallsTheMembers) {
  on(GetParam().face);
  try {
    GetParam().c->run(*this);
  } catch (const automation::AutomationError& e) {
    FAIL() << "error " << e.number() << ": " << e.description();
  }
}

INSTANTIATE_TEST_SUITE_P(DispatchFaces, LateBound, ::testing::ValuesIn(faceCases()),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                           return std::string(info.param.face == Library ? "Library_" : "Workspace_") +
                                  info.param.c->name;
                         });

// A row added to either table without a case on that face would go uncalled. The
// workspace's own fields aBarIndex and IsFloating are the workspace proxies test's.
TEST(DispatchFaces, EveryRowHasALateBoundCaseOnItsFace) {
  std::set<std::tuple<int, std::string, InvokeKind>> called;
  auto add = [&](int faces, const std::string& all) {
    std::istringstream rows(all);
    for (std::string row; rows >> row;) {
      const auto colon = row.find(':');
      std::vector<InvokeKind> kinds;
      if (colon == std::string::npos) kinds.push_back(InvokeKind::Method);
      for (char k : row.substr(colon == std::string::npos ? row.size() : colon + 1))
        kinds.push_back(k == 'g' ? InvokeKind::PropertyGet : k == 'l' ? InvokeKind::PropertyLet : InvokeKind::PropertySet);
      for (int f : {Library, Workspace})
        for (auto kind : kinds)
          if (faces & f) called.insert({f, row.substr(0, colon), kind});
    }
  };
  add(Workspace, "aBarIndex:gl IsFloating:gl");
  for (const auto& c : cases()) add(c.faces, c.rows);
  for (const auto& row : core::ZuzuzudLibrary::memberTable().members())
    EXPECT_TRUE(called.count({Library, std::string(row.name), row.kind})) << row.name;
  for (const auto& row : core::ZuzuzudWorkspace::memberTable().members())
    EXPECT_TRUE(called.count({Workspace, std::string(row.name), row.kind})) << row.name;
}

}  // namespace
}  // namespace zadeve::host
