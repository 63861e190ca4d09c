#include "com/dispatch_faces.h"

#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "workspace/workspace_creation.h"

namespace zadeve::com {
namespace {

template <class T>
const DispatchFace& faceOf() {
  static const DispatchFace face = [] {
    DispatchFace f{T::memberTable().className(), {}};
    for (const auto& row : T::memberTable().members()) f.rows.push_back(&row);
    return f;
  }();
  return face;
}

}  // namespace

const DispatchFace* dispatchFaceOf(const automation::Object& object) {
  if (dynamic_cast<const core::ZuzuzudLibrary*>(&object)) return &faceOf<core::ZuzuzudLibrary>();
  if (dynamic_cast<const core::ZuzuzudWorkspace*>(&object)) return &faceOf<core::ZuzuzudWorkspace>();
  if (dynamic_cast<const workspace::WorkspaceCreation*>(&object)) return &faceOf<workspace::WorkspaceCreation>();
  return nullptr;
}

}  // namespace zadeve::com
