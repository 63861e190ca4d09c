#pragma once
// The member tables of the classes the type library describes, as the dispatcher reads
// them: DISPID = slot, names matched case-insensitively.

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string_view>
#include <vector>

#include "automation/member_table.h"

namespace zadeve::com {

struct DispatchFace {
  std::string_view className;  // the class's name in the type library
  std::vector<const automation::MemberInfo*> rows;

  // DISPID_UNKNOWN for a name the class does not have.
  DISPID dispidOf(std::string_view name) const;
  // The member's name for a DISPID; null when no row has that slot.
  const automation::MemberInfo* rowOf(DISPID dispid) const;
};

// The face of ZuzuzudLibrary, ZuzuzudWorkspace or WorkspaceCreation; null for any other
// object, which then dispatches by name.
const DispatchFace* dispatchFaceOf(const automation::Object& object);

}  // namespace zadeve::com
