// Every member of the library's and the workspace's dispatch faces called late-bound at
// least once, on the example view with our real control: one case per member and kind,
// through the library object and through a workspace of its own. A case checks what the
// call is for where that is cheap to see; all of them check that the row binds its
// arguments as a host passes them.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>

#include "automation/conversions.h"
#include "core/zuzuzud_workspace.h"
#include "host/example_view.h"
#include "palette/tool_palette.h"
#include "support/temp_dir.h"
#include "workspace/workspace_creation.h"

namespace zadeve::host {
namespace {

using automation::Arg;
using automation::byRef;
using automation::InvokeKind;
using automation::Object;

constexpr auto Get = InvokeKind::PropertyGet;
constexpr auto Let = InvokeKind::PropertyLet;
constexpr auto Set = InvokeKind::PropertySet;
constexpr auto Method = InvokeKind::Method;

enum class Face { Library, Workspace };

// The face under test with a form of its own carrying the example view, on a copy of the
// example files (some members write the configuration file).
class Faces : public ExampleView {
 public:
  using ExampleView::app;
  void on(Face f) {
    for (const char* file : {"BARS.INI", "std16.bmp", "big24.bmp"})
      std::filesystem::copy_file(examples() / file, dir.file(file));
    if (f == Face::Workspace) {
      face = workspace::WorkspaceCreation::NewZuzuzudWorkspace();
      frm = makeObject<HeadlessForm>("frmOther", 800, 600);
      frm->setLibrary(face);
      frm->setApplication(app);
      call("InitialiseZADEVE", {Variant(ownTbm), ini(), dir.path().string() + "/"});
      automation::setProperty(*face, "ShellApplicationObject", app);
      call("KaTSetup", {Variant(frm), "MainView"});
    } else {
      face = lib;
      frm = form;
      ownTbm = tbm;
      call("InitialiseZADEVE", {Variant(ownTbm), ini(), dir.path().string() + "/"});
    }
  }
  ~Faces() override {
    // A palette floated through a workspace docks on whatever workspace is current when
    // it closes (the default one, here, with no host objects): close it without docking.
    for (auto& p : palette::FrmToolPalette::loadedPalettes()) {
      try {
        p->Tag(palette::FrmToolPalette::DontDock);
        p->unload();
      } catch (const automation::AutomationError&) {
      }
    }
    // The form and the workspace it lays out through keep each other until it unloads.
    try {
      frm->unload();
    } catch (const automation::AutomationError&) {
    }
  }

  Variant call(const char* member, std::initializer_list<Arg> args = {}) {
    return automation::callMethod(*face, member, args);
  }
  Variant get(const char* member) { return automation::getProperty(*face, member); }
  Variant bar(Bar b) const { return Variant(ObjectRef(frm->bar(b))); }
  Variant form_() const { return Variant(ObjectRef(frm)); }
  std::string ini() const { return dir.file("BARS.INI"); }

  support::TempDir dir;
  ObjectRef face;
  Ref<HeadlessForm> frm;
  Ref<ToolbarManager> ownTbm = makeObject<ToolbarManager>();
};

struct Case {
  const char* member;
  InvokeKind kind;
  std::function<void(Faces&)> run;
  bool libraryOnly = false;
  bool workspaceOnly = false;
};

Variant i2(int v) { return Variant(int16_t(v)); }
Variant i4(int v) { return Variant(int32_t(v)); }

const std::vector<Case>& cases() {
  using F = Faces;
  static const std::vector<Case> all = {
      {"BarsConfigFile", Get, [](F& t) { EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.ini())); }},
      {"BarsConfigFile", Let,
       [](F& t) {
         automation::letProperty(*t.face, "BarsConfigFile", Variant(t.dir.file("other.ini")));
         EXPECT_EQ(t.get("BarsConfigFile"), Variant(t.dir.file("other.ini")));
       }},
      {"BarsBitmapsDir", Get, [](F& t) { EXPECT_EQ(t.get("BarsBitmapsDir"), Variant(t.dir.path().string() + "/")); }},
      {"BarsBitmapsDir", Let,
       [](F& t) {
         automation::letProperty(*t.face, "BarsBitmapsDir", Variant("bmp/"));
         EXPECT_EQ(t.get("BarsBitmapsDir"), Variant("bmp/"));
       }},
      {"InitialiseZADEVE", Method,
       [](F& t) {
         t.call("InitialiseZADEVE", {Variant(t.ownTbm), Variant("x.ini"), Variant("y/")});
         EXPECT_EQ(t.get("BarsConfigFile"), Variant("x.ini"));
       }},
      {"ShellApplicationObject", Set, [](F& t) { automation::setProperty(*t.face, "ShellApplicationObject", t.app); }},
      {"KaTBarName", Method, [](F& t) { EXPECT_EQ(t.call("KaTBarName", {t.bar(Format)}), Variant("Format")); }},
      {"KaTBeginScan", Method, [](F& t) { t.call("KaTBeginScan", {t.form_()}); }},
      {"KaTBeginScanFunction", Method, [](F& t) { t.call("KaTBeginScanFunction", {t.form_(), "Bold"}); }},
      {"KaTBuildBar", Method, [](F& t) { t.call("KaTBuildBar", {t.bar(Sketch), "Sketch"}); }},
      {"KaTRebuildBar", Method, [](F& t) { t.call("KaTRebuildBar", {t.bar(View)}); }},
      {"KaTCopyBarState", Method, [](F& t) { t.call("KaTCopyBarState", {t.bar(View), t.bar(Tools)}); }},
      {"KaTFloat", Method,
       [](F& t) {
         auto before = palette::FrmToolPalette::loadedPalettes().size();
         t.call("KaTFloat", {t.form_(), t.bar(Draw)});
         EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), before + 1);
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "State", ""}), Variant("Floating"));
       }},
      {"KaTGetFunctionState", Method,
       [](F& t) {
         Variant value = i2(5);
         EXPECT_EQ(t.call("KaTGetFunctionState", {t.form_(), "Bold", byRef(value)}), Variant(true));
         EXPECT_EQ(value, i2(0));
       }},
      {"KaTGetProp", Method, [](F& t) { EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("LEFT")); }},
      {"KaTLayout", Method,
       [](F& t) {
         Variant e[4];
         t.call("KaTLayout", {t.form_(), byRef(e[0]), byRef(e[1]), byRef(e[2]), byRef(e[3])});
         EXPECT_GT(automation::toLong(e[1]), 0) << "bars are docked at the top";
         EXPECT_EQ(e[3].type(), automation::VarType::Integer);
       }},
      {"KATNextScan", Method,
       [](F& t) {
         t.call("KaTBeginScan", {t.form_()});
         EXPECT_EQ(t.call("KATNextScan"), Variant(true));
       }},
      {"KaTNextScanFunction", Method,
       [](F& t) {
         t.call("KaTBeginScanFunction", {t.form_(), "Bold"});
         EXPECT_EQ(t.call("KaTNextScanFunction"), Variant(true));
       }},
      {"KaTSetProp", Method,
       [](F& t) {
         t.call("KaTSetProp", {t.bar(Draw), "Home", "RIGHT"});
         EXPECT_EQ(t.call("KaTGetProp", {t.bar(Draw), "Home", ""}), Variant("RIGHT"));
       }},
      {"KaTSetup", Method,
       [](F& t) {
         auto other = makeObject<HeadlessForm>("frmThird", 800, 600);
         other->setLibrary(t.face);
         t.call("KaTSetup", {Variant(ObjectRef(other)), "MainView"});
         EXPECT_EQ(automation::toString(t.call("KaTBarName", {Variant(ObjectRef(other->bar(Status)))})), "Status");
         other->unload();
       }},
      {"KaTSetVisible", Method,
       [](F& t) {
         t.call("KaTSetVisible", {t.form_(), t.bar(View), i2(0)});
         EXPECT_EQ(t.call("KaTIsVisible", {t.bar(View)}), i2(0));
       }},
      {"GetIconSetNumber", Method,
       [](F& t) {
         Variant number = i2(0);
         EXPECT_EQ(t.call("GetIconSetNumber", {"big24.bmp,24,24", byRef(number)}), Variant(true));
         EXPECT_EQ(number, i2(1));
       }},
      {"SetConfigValue", Method,
       [](F& t) {
         EXPECT_NE(t.call("SetConfigValue", {"Debug", "ReportMissing", "0"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", ""}), Variant("0"));
       }},
      {"ClearConfigSection", Method,
       [](F& t) {
         EXPECT_NE(t.call("ClearConfigSection", {"Debug"}), i2(0));
         EXPECT_EQ(t.call("GetConfigValue", {"Debug", "ReportMissing", "-"}), Variant("-"));
       }},
      {"KaTUnloadBars", Method, [](F& t) { t.call("KaTUnloadBars", {t.form_()}); }},
      {"KaSetButtonEnable", Method, [](F& t) { t.call("KaSetButtonEnable", {t.form_(), "EditCut", i2(0)}); }},
      {"StatusMsg", Method,
       [](F& t) {
         t.call("StatusMsg", {t.form_(), "StatusText", "Drawing"});
         EXPECT_EQ(t.call("GetStatusMsg", {t.form_(), "StatusText"}), Variant("Drawing"));
       }},
      {"StatusProg", Method, [](F& t) { t.call("StatusProg", {t.form_(), "Progress", i2(50)}); }},
      {"KaGetFunctionState", Method,
       [](F& t) { EXPECT_EQ(t.call("KaGetFunctionState", {t.form_(), "Bold"}), i2(0)); }},
      {"KaGetFunctionEnabled", Method,
       [](F& t) {
         Variant value = i2(5);
         EXPECT_EQ(t.call("KaGetFunctionEnabled", {t.form_(), "EditCut", byRef(value)}), Variant(true));
       }},
      {"GetConfigValue", Method,
       [](F& t) { EXPECT_EQ(t.call("GetConfigValue", {"Toolbar.Sketch", "Button0", ""}), Variant("SketchPad")); }},
      {"KaSetFunctionEnabled", Method,
       [](F& t) { t.call("KaSetFunctionEnabled", {t.form_(), "EditCut", i2(0)}); }},
      {"KaSetFunctionState", Method,
       [](F& t) {
         t.call("KaSetFunctionState", {t.form_(), "Bold", i2(-1)});
         EXPECT_EQ(t.call("KaGetFunctionState", {t.form_(), "Bold"}), i2(-1));
       }},
      {"KaSetFunctionVisible", Method, [](F& t) { t.call("KaSetFunctionVisible", {t.form_(), "Print", i2(0)}); }},
      {"KaAddFunctionListItem", Method,
       [](F& t) { t.call("KaAddFunctionListItem", {t.form_(), "FontName", "Serif", i4(3)}); }},
      {"KaSetItemIndexByText", Method,
       [](F& t) {
         t.call("KaAddFunctionListItem", {t.form_(), "FontName", "Serif", i4(3)});
         t.call("KaSetItemIndexByText", {t.form_(), "FontName", "serif"});
       }},
      {"KaGetFunctionListItem", Method,
       [](F& t) {
         t.call("KaAddFunctionListItem", {t.form_(), "FontName", "Serif", i4(3)});
         t.call("KaSetItemIndex", {t.form_(), "FontName", i4(0)});
         Variant item(""), data = i4(0);
         t.call("KaGetFunctionListItem", {t.form_(), "FontName", byRef(item), byRef(data)});
         EXPECT_EQ(item, Variant("Serif"));
         EXPECT_EQ(data, i4(3));
       }},
      {"KaSetButtonTip", Method, [](F& t) { t.call("KaSetButtonTip", {t.form_(), "Bold", "Bold text"}); }},
      {"KaSetItemIndexByData", Method, [](F& t) { t.call("KaSetItemIndexByData", {t.form_(), "FontName", i4(3)}); }},
      {"KaSetItemIndex", Method, [](F& t) { t.call("KaSetItemIndex", {t.form_(), "FontName", i4(0)}); }},
      {"GetStatusMsg", Method,
       [](F& t) { EXPECT_TRUE(t.call("GetStatusMsg", {t.form_(), "Coordinates"}).isString()); }},
      {"KaTIsVisible", Method, [](F& t) { EXPECT_EQ(t.call("KaTIsVisible", {t.bar(Draw)}), i2(-1)); }},
      {"aBar", Get, [](F& t) { EXPECT_TRUE(t.get("aBar").isObject()); }},
      {"aBar", Set,
       [](F& t) {
         automation::setProperty(*t.face, "aBar", t.bar(Draw).object());
         EXPECT_EQ(t.get("aBar"), t.bar(Draw));
       }},
      {"aSpinDown", Get, [](F& t) { EXPECT_EQ(t.get("aSpinDown"), Variant(0.0f)); }},
      {"aSpinDown", Let,
       [](F& t) {
         automation::letProperty(*t.face, "aSpinDown", Variant(2.5));
         EXPECT_EQ(t.get("aSpinDown"), Variant(2.5f));
       }},
      {"aSpinUp", Get, [](F& t) { EXPECT_EQ(t.get("aSpinUp"), Variant(0.0f)); }},
      {"aSpinUp", Let,
       [](F& t) {
         automation::letProperty(*t.face, "aSpinUp", Variant(int16_t(4)));
         EXPECT_EQ(t.get("aSpinUp"), Variant(4.0f));
       }},
      {"KaTDisableFloatingMenu", Method,
       [](F& t) {
         t.call("KaTDisableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), -1);
         t.call("KaTEnableFloatingMenu");
       },
       true},
      {"KaTEnableFloatingMenu", Method,
       [](F& t) {
         t.call("KaTDisableFloatingMenu");
         t.call("KaTEnableFloatingMenu");
         EXPECT_EQ(core::ZuzuzudLibrary::FloatingMenuDisabled(), 0);
       },
       true},
      {"KaTReleaseBars", Method, [](F& t) { t.call("KaTReleaseBars", {t.form_()}); }, true},
      {"aBarIndex", Get, [](F& t) { EXPECT_EQ(t.get("aBarIndex"), i2(0)); }, false, true},
      {"aBarIndex", Let,
       [](F& t) {
         automation::letProperty(*t.face, "aBarIndex", i4(3));
         EXPECT_EQ(t.get("aBarIndex"), i2(3));
       },
       false, true},
      {"IsFloating", Get, [](F& t) { EXPECT_EQ(t.get("IsFloating"), Variant(false)); }, false, true},
      {"IsFloating", Let,
       [](F& t) {
         automation::letProperty(*t.face, "IsFloating", Variant(true));
         EXPECT_EQ(t.get("IsFloating"), Variant(true));
       },
       false, true},
  };
  return all;
}

struct FaceCase {
  Face face;
  const Case* c;
};

std::vector<FaceCase> faceCases() {
  std::vector<FaceCase> out;
  for (const auto& c : cases()) {
    if (!c.workspaceOnly) out.push_back({Face::Library, &c});
    // The workspace's aBar and spin values are its own fields, whose rows share the names.
    if (!c.libraryOnly) out.push_back({Face::Workspace, &c});
  }
  return out;
}

class LateBound : public Faces, public ::testing::WithParamInterface<FaceCase> {};

TEST_P(LateBound, CallsTheMember) {
  on(GetParam().face);
  try {
    GetParam().c->run(*this);
  } catch (const automation::AutomationError& e) {
    FAIL() << "error " << e.number() << ": " << e.description();
  }
}

const char* kindName(InvokeKind k) {
  switch (k) {
    case Method: return "Call";
    case Get: return "Get";
    case Let: return "Let";
    case Set: return "Set";
  }
  return "";
}

INSTANTIATE_TEST_SUITE_P(DispatchFaces, LateBound, ::testing::ValuesIn(faceCases()),
                         [](const ::testing::TestParamInfo<FaceCase>& info) {
                           return std::string(info.param.face == Face::Library ? "Library_" : "Workspace_") +
                                  kindName(info.param.c->kind) + "_" + info.param.c->member;
                         });

// A row added to either table without a case here would go uncalled.
TEST(DispatchFaces, EveryRowHasALateBoundCase) {
  std::set<std::pair<std::string, InvokeKind>> called;
  for (const auto& c : cases()) called.insert({c.member, c.kind});
  for (const auto& row : core::ZuzuzudLibrary::memberTable().members())
    EXPECT_TRUE(called.count({std::string(row.name), row.kind})) << row.name;
  for (const auto& row : core::ZuzuzudWorkspace::memberTable().members())
    EXPECT_TRUE(called.count({std::string(row.name), row.kind})) << row.name;
}

}  // namespace
}  // namespace zadeve::host
