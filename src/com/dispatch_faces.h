#pragma once
// The member tables of the classes the type library describes, as the dispatcher reads
// them: DISPID = slot, names matched case-insensitively.

#include <windows.h>
#include <oaidl.h>

#include <span>
#include <string_view>
#include <vector>

#include "automation/conversions.h"
#include "automation/member_table.h"

namespace zadeve::com {

struct DispatchFace {
  std::string_view className;  // the class's name in the type library
  std::vector<const automation::MemberInfo*> rows;

  // DISPID_UNKNOWN for a name the class does not have.
  DISPID dispidOf(std::string_view name) const {
    for (const automation::MemberInfo* row : rows)
      if (automation::equalsIgnoreCase(row->name, name)) return row->slot;
    return DISPID_UNKNOWN;
  }
  // A row of the member a DISPID names; null when no row has that slot.
  const automation::MemberInfo* rowOf(DISPID dispid) const {
    for (const automation::MemberInfo* row : rows)
      if (row->slot == dispid) return row;
    return nullptr;
  }
};

// The face of ZuzuzudLibrary, ZuzuzudWorkspace or WorkspaceCreation; null for any other
// object, which then dispatches by name.
const DispatchFace* dispatchFaceOf(const automation::Object& object);

}  // namespace zadeve::com
