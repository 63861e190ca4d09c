#pragma once
// WorkspaceCreation: how a host obtains workspaces. Creatable and an application object,
// so a host may call NewZuzuzudWorkspace without making one first (in C++: the static).

#include "automation/member_table.h"
#include "core/zuzuzud_workspace.h"

namespace zadeve::workspace {

class WorkspaceCreation : public automation::Dispatchable<WorkspaceCreation> {
 public:
  static const automation::MemberTable<WorkspaceCreation>& memberTable();

  // A new workspace with every field in its starting state. Nothing registers it: the
  // library meets it on its first proxy call, and it lives as long as the host holds it.
  static automation::Ref<core::ZuzuzudWorkspace> NewZuzuzudWorkspace();
};

}  // namespace zadeve::workspace
