#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "automation/conversions.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {
namespace {

// The interface of the library, in slot order.
const char* const InterfaceOrder[] = {
    "BarsConfigFile", "BarsBitmapsDir", "InitialiseZADEVE", "ShellApplicationObject", "KaTBarName",
    "KaTBeginScan", "KaTBeginScanFunction", "KaTBuildBar", "KaTRebuildBar", "KaTCopyBarState",
    "KaTFloat", "KaTGetFunctionState", "KaTGetProp", "KaTLayout", "KATNextScan",
    "KaTNextScanFunction", "KaTSetProp", "KaTSetup", "KaTSetVisible", "GetIconSetNumber",
    "SetConfigValue", "ClearConfigSection", "KaTUnloadBars", "KaSetButtonEnable", "StatusMsg",
    "StatusProg", "KaGetFunctionState", "KaGetFunctionEnabled", "GetConfigValue", "KaSetFunctionEnabled",
    "KaSetFunctionState", "KaSetFunctionVisible", "KaAddFunctionListItem", "KaSetItemIndexByText",
    "KaGetFunctionListItem", "KaSetButtonTip", "KaSetItemIndexByData", "KaSetItemIndex", "GetStatusMsg",
    "KaTIsVisible", "aBar", "aSpinDown", "aSpinUp", "KaTDisableFloatingMenu", "KaTEnableFloatingMenu",
    "KaTReleaseBars",
};

TEST(LibraryMembers, EveryRowSitsInItsInterfaceSlotInOrder) {
  const auto& rows = ZuzuzudLibrary::memberTable().members();
  ASSERT_FALSE(rows.empty());
  int32_t previous = 0;
  std::set<std::pair<std::string, automation::InvokeKind>> seen;
  for (const auto& row : rows) {
    auto at = std::find_if(std::begin(InterfaceOrder), std::end(InterfaceOrder),
                           [&](const char* n) { return row.name == n; });
    ASSERT_NE(at, std::end(InterfaceOrder)) << row.name << " is not a member of the interface";
    EXPECT_EQ(row.slot, at - std::begin(InterfaceOrder) + 1) << row.name;
    EXPECT_GE(row.slot, previous) << row.name << " is out of slot order";
    previous = row.slot;
    EXPECT_TRUE(seen.insert({std::string(row.name), row.kind}).second) << row.name << " twice";
  }
}

}  // namespace
}  // namespace zadeve::core
