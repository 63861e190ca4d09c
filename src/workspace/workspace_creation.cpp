#include "workspace/workspace_creation.h"

namespace zadeve::workspace {

using automation::CallArgs;
using automation::InvokeKind;
using automation::Variant;
using automation::VarType;

automation::Ref<core::ZuzuzudWorkspace> WorkspaceCreation::NewZuzuzudWorkspace() {
  return automation::makeObject<core::ZuzuzudWorkspace>();
}

const automation::MemberTable<WorkspaceCreation>& WorkspaceCreation::memberTable() {
  static const automation::MemberTable<WorkspaceCreation> table(
      "WorkspaceCreation",
      {
          {{"NewZuzuzudWorkspace", 1, InvokeKind::Method, {}, VarType::Object},
           [](WorkspaceCreation&, CallArgs&) { return Variant(NewZuzuzudWorkspace()); }},
      });
  return table;
}

}  // namespace zadeve::workspace
