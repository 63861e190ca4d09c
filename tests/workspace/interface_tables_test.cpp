// The three dispatch faces' rows (slots, kinds, parameters, results) and the constants are
// pinned by the checked-in IDL written from the member tables (tools_tests). Checked here is
// what the IDL cannot show: no row is a default member, the defaults of optional parameters
// (a BSTR* one shows none), lookup of a constant by name, and the control's own constants.

#include <gtest/gtest.h>

#include "core/type_library_enums.h"
#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "vizevore/button_types.h"
#include "workspace/workspace_creation.h"

namespace zadeve::workspace {
namespace {

template <class T>
std::vector<std::string> optionalParameters() {
  std::vector<std::string> out;
  for (const auto& row : T::memberTable().members()) {
    EXPECT_FALSE(row.isDefault) << row.name;
    for (const auto& p : row.params)
      if (p.optional)
        out.push_back(std::string(row.name) + "." + std::string(p.name) + "=" +
                      (p.defaultValue.isMissing() ? "?" : automation::toString(p.defaultValue)) + ":" +
                      std::string(automation::varTypeName(p.defaultValue.type())));
  }
  return out;
}

TEST(DispatchFaces, NoDefaultMemberAndEveryOptionalParameterHasADefaultOfItsType) {
  const std::vector<std::string> library = {"InitialiseZADEVE.lngfile=:String", "KaTBuildBar.isPalette=False:Boolean",
                                            "KaTSetup.excludeBars=:String", "StatusMsg.UpdateNow=False:Boolean"};
  EXPECT_EQ(optionalParameters<core::ZuzuzudLibrary>(), library);
  EXPECT_EQ(optionalParameters<core::ZuzuzudWorkspace>(), library);  // the proxies' signatures
  EXPECT_EQ(optionalParameters<WorkspaceCreation>(), std::vector<std::string>{});
}

TEST(DispatchFaces, ConstantsAreFoundByNameAndTheControlAgrees) {
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
