// What the checked-in IDL (tools_tests) cannot show of the dispatch faces: no row is a
// default member, and the defaults of optional parameters (a BSTR* one shows none).

#include <gtest/gtest.h>

#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
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

}  // namespace
}  // namespace zadeve::workspace
