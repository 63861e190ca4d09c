// The host's way in (zadeve/library.h): the library objects, handed out as plain
// automation objects so a host needs none of the library's own headers.

#include "zadeve/library.h"

#include "core/zuzuzud_library.h"
#include "workspace/workspace_creation.h"

namespace zadeve {

automation::ObjectRef createLibrary() { return automation::makeObject<core::ZuzuzudLibrary>(); }

automation::ObjectRef createWorkspaceCreation() { return automation::makeObject<workspace::WorkspaceCreation>(); }

}  // namespace zadeve
