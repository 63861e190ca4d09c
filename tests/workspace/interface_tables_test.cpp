// The three dispatch faces against their interface tables, transcribed as data: slot order,
// kinds, every parameter's name, type, passing mode, optionality and default, and the result.
// Transcription: "name:type" per parameter, "val" for by value (by reference otherwise),
// "opt=default" for an optional one; a result of "-" is none.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/type_library_enums.h"
#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "vizevore/button_types.h"
#include "workspace/workspace_creation.h"

namespace zadeve::workspace {
namespace {

using automation::InvokeKind;
using automation::MemberInfo;
using automation::VarType;

struct Interface {
  int32_t slot;
  const char* name;
  const char* kinds;  // "method", "get/let", "get/set", "set"
  const char* params;
  const char* result;
};

const Interface LibraryInterface[] = {
    {1, "BarsConfigFile", "get/let", "value:str", "str"},
    {2, "BarsBitmapsDir", "get/let", "value:str", "str"},
    {3, "InitialiseZADEVE", "method", "TBM:obj; BarsCfgFile:str; BarsBmpsDir:str; lngfile:str opt=", "-"},
    {4, "ShellApplicationObject", "set", "ShellApp:obj", "-"},
    {5, "KaTBarName", "method", "aBar:obj", "str"},
    {6, "KaTBeginScan", "method", "f:obj", "-"},
    {7, "KaTBeginScanFunction", "method", "f:obj; fn:str", "-"},
    {8, "KaTBuildBar", "method", "tb:obj; barName:str; isPalette:bool opt=False", "-"},
    {9, "KaTRebuildBar", "method", "tb:obj", "-"},
    {10, "KaTCopyBarState", "method", "fromBar:obj; toBar:obj", "-"},
    {11, "KaTFloat", "method", "theForm:obj; theToolBar:obj", "-"},
    {12, "KaTGetFunctionState", "method", "frm:obj; fn:str; Value:i2", "var"},
    {13, "KaTGetProp", "method", "tb:obj; Key:str; dv:var", "var"},
    {14, "KaTLayout", "method", "frm:obj; vl:i2; vt:i2; vr:i2; VB:i2", "-"},
    {15, "KATNextScan", "method", "", "var"},
    {16, "KaTNextScanFunction", "method", "", "bool"},
    {17, "KaTSetProp", "method", "tb:obj; Key:str; v:var", "-"},
    {18, "KaTSetup", "method", "frm:obj; barSet:str; excludeBars:str opt=", "-"},
    {19, "KaTSetVisible", "method", "f:obj; tb:obj; v:i2 val", "-"},
    // A 16-bit boolean, as the member's own description has it.
    {20, "GetIconSetNumber", "method", "iconSetName:str val; iconSetNumber:i2", "bool"},
    {21, "SetConfigValue", "method", "section:str val; Key:str val; Value:str val", "var"},
    {22, "ClearConfigSection", "method", "section:str", "var"},
    {23, "KaTUnloadBars", "method", "f:obj", "-"},
    {24, "KaSetButtonEnable", "method", "frm:obj; fn:str; Value:i2", "-"},
    {25, "StatusMsg", "method", "f:obj; pan:str; msg:str; UpdateNow:bool opt=False", "-"},
    {26, "StatusProg", "method", "f:obj; pan:str; Percent:i2", "-"},
    {27, "KaGetFunctionState", "method", "frm:obj; fn:str", "i2"},
    {28, "KaGetFunctionEnabled", "method", "frm:obj; fn:str; Value:i2", "var"},
    {29, "GetConfigValue", "method", "section:str; item:str; def:str", "var"},
    {30, "KaSetFunctionEnabled", "method", "frm:obj; fn:str; Value:i2", "-"},
    {31, "KaSetFunctionState", "method", "frm:obj; fn:str; Value:i2", "-"},
    {32, "KaSetFunctionVisible", "method", "frm:obj; fn:str; Value:i2", "-"},
    {33, "KaAddFunctionListItem", "method", "frm:obj; fn:str; item:str; Data:i4", "-"},
    {34, "KaSetItemIndexByText", "method", "frm:obj; fn:str; item:str", "-"},
    {35, "KaGetFunctionListItem", "method", "frm:obj; fn:str; item:str; Data:i4", "-"},
    {36, "KaSetButtonTip", "method", "frm:obj; fn:str; Tip:str", "-"},
    {37, "KaSetItemIndexByData", "method", "frm:obj; fn:str; Data:i4", "-"},
    {38, "KaSetItemIndex", "method", "frm:obj; fn:str; Index:i4", "-"},
    {39, "GetStatusMsg", "method", "f:obj; pan:str", "str"},
    {40, "KaTIsVisible", "method", "tb:obj", "i2"},
    {41, "aBar", "get/set", "value:obj", "obj"},
    {42, "aSpinDown", "get/let", "value:r4", "r4"},
    {43, "aSpinUp", "get/let", "value:r4", "r4"},
    {44, "KaTDisableFloatingMenu", "method", "", "-"},
    {45, "KaTEnableFloatingMenu", "method", "", "-"},
    {46, "KaTReleaseBars", "method", "frm:obj", "-"},
};

const Interface WorkspaceFields[] = {
    {1, "aBarIndex", "get/let", "value:i2", "i2"},
    {2, "aBar", "get/set", "value:obj", "obj"},
    {3, "aSpinUp", "get/let", "value:r4", "r4"},
    {4, "aSpinDown", "get/let", "value:r4", "r4"},
    {5, "IsFloating", "get/let", "value:bool", "bool"},
};

const Interface CreationInterface[] = {
    {1, "NewZuzuzudWorkspace", "method", "", "obj"},
};

std::string shortName(VarType t) {
  switch (t) {
    case VarType::Object: return "obj";
    case VarType::String: return "str";
    case VarType::Integer: return "i2";
    case VarType::Long: return "i4";
    case VarType::Boolean: return "bool";
    case VarType::Single: return "r4";
    case VarType::Variant: return "var";
    case VarType::Empty: return "-";
    default: return "?" + std::string(automation::varTypeName(t));
  }
}

// A row's parameters in the transcription's notation.
std::string describe(const MemberInfo& row) {
  std::string out;
  for (const auto& p : row.params) {
    out += (out.empty() ? "" : "; ") + std::string(p.name) + ":" + shortName(p.type);
    if (p.passing == automation::Passing::ByVal) out += " val";
    if (p.optional) out += " opt=" + (p.defaultValue.isMissing() ? "?" : automation::toString(p.defaultValue));
    if (p.optional) EXPECT_EQ(p.defaultValue.type(), p.type) << p.name << "'s default is of its own type";
  }
  return out;
}

std::vector<InvokeKind> kindsOf(const std::string& kinds) {
  if (kinds == "method") return {InvokeKind::Method};
  if (kinds == "set") return {InvokeKind::PropertySet};
  if (kinds == "get/let") return {InvokeKind::PropertyGet, InvokeKind::PropertyLet};
  return {InvokeKind::PropertyGet, InvokeKind::PropertySet};
}

template <class T>
void expectFaceMatches(const char* face, std::vector<Interface> interface) {
  const auto& rows = T::memberTable().members();
  for (const Interface& m : interface)
    for (InvokeKind kind : kindsOf(m.kinds)) {
      auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.name == m.name && r.kind == kind; });
      if (at == rows.end()) {
        ADD_FAILURE() << face << " has no row " << m.name << " of kind " << int(kind);
        continue;
      }
      const bool get = kind == InvokeKind::PropertyGet, returns = get || kind == InvokeKind::Method;
      EXPECT_EQ(at->slot, m.slot) << face << "." << m.name;
      EXPECT_FALSE(at->isDefault) << face << "." << m.name;
      EXPECT_EQ(describe(*at), get ? "" : m.params) << face << "." << m.name;
      EXPECT_EQ(shortName(at->result), returns ? m.result : "-") << face << "." << m.name;
    }
  // No row beyond the interface, none twice, and the rows stand in slot order.
  int32_t previous = 0;
  std::set<std::pair<std::string, InvokeKind>> seen;
  for (const auto& row : rows) {
    bool known = std::any_of(interface.begin(), interface.end(),
                             [&](const Interface& m) { return m.name == row.name && m.slot == row.slot; });
    EXPECT_TRUE(known) << face << "." << row.name << " in slot " << row.slot;
    EXPECT_TRUE(seen.insert({std::string(row.name), row.kind}).second) << face << "." << row.name << " twice";
    EXPECT_GE(row.slot, previous) << face << "." << row.name;
    previous = row.slot;
  }
}

TEST(DispatchFaces, MatchTheirInterfaceTables) {
  expectFaceMatches<core::ZuzuzudLibrary>("ZuzuzudLibrary", {std::begin(LibraryInterface), std::end(LibraryInterface)});
  // The workspace: its fields, then a proxy of each of the library's first forty members.
  std::vector<Interface> workspace(std::begin(WorkspaceFields), std::end(WorkspaceFields));
  for (const auto& m : LibraryInterface)
    if (m.slot <= 40) workspace.push_back({m.slot + 5, m.name, m.kinds, m.params, m.result});
  expectFaceMatches<core::ZuzuzudWorkspace>("ZuzuzudWorkspace", workspace);
  expectFaceMatches<WorkspaceCreation>("WorkspaceCreation", {std::begin(CreationInterface), std::end(CreationInterface)});
}

// The type library's constants, and the control reports the same values.
TEST(DispatchFaces, EnumerationsAreNamedConstantsTheControlAgreesWith) {
  const std::vector<std::pair<std::string, std::vector<std::pair<const char*, int32_t>>>> expected = {
      {"ButtonTypesDeprecated",
       {{"KAT_GAP", 1}, {"KAT_BREAK", 2}, {"KAT_MXGROUPSTART", 3}, {"KAT_MXGROUPEND", 4},
        {"KAT_PUSHBUTTON", 10}, {"KAT_PANEL", 20}, {"KAT_SPIN", 30}, {"KAT_COMBO", 40}}},
      {"ButtonFlags",
       {{"BF_DOWN", 1}, {"BF_TOGGLE", 2}, {"BF_BUMP", 4}, {"BF_DIP", 8}, {"BF_CAPBELOW", 0},
        {"BF_CAPABOVE", 16}, {"BF_CAPLEFT", 32}, {"BF_CAPRIGHT", 48}, {"BF_MAXWIDTH", 64}, {"BF_ON", 128}}},
  };
  auto enums = core::typeLibraryEnumerations();
  ASSERT_EQ(enums.size(), expected.size());
  for (size_t e = 0; e < enums.size(); ++e) {
    EXPECT_EQ(enums[e].name, expected[e].first);
    ASSERT_EQ(enums[e].constants.size(), expected[e].second.size()) << expected[e].first;
    for (size_t i = 0; i < enums[e].constants.size(); ++i) {
      EXPECT_EQ(enums[e].constants[i].name, expected[e].second[i].first);
      EXPECT_EQ(enums[e].constants[i].value, expected[e].second[i].second) << expected[e].second[i].first;
    }
  }
  EXPECT_EQ(core::enumerationConstant("bf_on"), 128);
  EXPECT_EQ(core::enumerationConstant("BF_OFF"), std::nullopt);
  const std::pair<int32_t, int32_t> control[] = {
      {core::KAT_PUSHBUTTON, zadeve::KAT_PUSHBUTTON}, {core::KAT_PANEL, zadeve::KAT_PANEL},
      {core::KAT_SPIN, zadeve::KAT_SPIN},             {core::KAT_COMBO, zadeve::KAT_COMBO},
      {core::BF_ON, zadeve::BF_ON},                   {core::BF_BUMP, zadeve::BF_BUMP},
      {core::KAT_GAP, zadeve::KAT_GAP},               {core::BF_CAPRIGHT, zadeve::BF_CAPRIGHT}};
  for (auto [ours, theirs] : control) EXPECT_EQ(ours, theirs);
}

}  // namespace
}  // namespace zadeve::workspace
