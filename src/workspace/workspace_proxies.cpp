// The proxy members of ZuzuzudWorkspace: one row per library member of the same name,
// with the library row's parameters, passing modes, defaults and result, so the
// library's table stays the one description of both faces.
//
// A proxy call on workspace W (nesting through host code the library sets off):
//   W.KaSetFunctionState frm, fn, v
//     processLibrary().PushWorkspace W       W current, the previous one saved
//     library.KaSetFunctionState frm, fn, v  late-bound, by-reference arguments passed on
//       host code -> V.GetConfigValue ...    pushes V over W, pops back to W
//     processLibrary().PopWorkspace          also when the member raised

#include <algorithm>
#include <string_view>

#include "core/zuzuzud_library.h"
#include "core/zuzuzud_workspace.h"
#include "workspace/process_library.h"

namespace zadeve::core {
namespace {

using automation::Arg;
using automation::CallArgs;
using automation::Member;
using automation::MemberInfo;

// Members reached on a library object only: the first three are the workspace's own
// public fields, the floating-menu switch is process-wide, and releasing bars has no proxy.
constexpr std::string_view LibraryOnly[] = {"aBar",
                                            "aSpinDown",
                                            "aSpinUp",
                                            "KaTDisableFloatingMenu",
                                            "KaTEnableFloatingMenu",
                                            "KaTReleaseBars"};

bool isLibraryOnly(std::string_view name) {
  return std::find(std::begin(LibraryOnly), std::end(LibraryOnly), name) != std::end(LibraryOnly);
}

}  // namespace

std::vector<Member<ZuzuzudWorkspace>> workspaceProxyRows() {
  std::vector<Member<ZuzuzudWorkspace>> rows;
  for (const auto& row : ZuzuzudLibrary::memberTable().members()) {
    if (isLibraryOnly(row.name)) continue;
    Member<ZuzuzudWorkspace> proxy;
    static_cast<MemberInfo&>(proxy) = row;
    // The library-only members are the library's last ones, so each proxy keeps its
    // library slot, counted after the public fields.
    proxy.slot = row.slot + ZuzuzudWorkspace::PublicFieldCount;
    proxy.handler = [](ZuzuzudWorkspace& w, CallArgs& args) { return w.RunProxy(args); };
    rows.push_back(std::move(proxy));
  }
  return rows;
}

Variant ZuzuzudWorkspace::RunProxy(CallArgs& args) {
  Ref<ZuzuzudWorkspace> self(this);
  // Held for the whole call, so the object cannot go between push and pop.
  Ref<ZuzuzudLibrary> library = workspace::processLibrary();
  // The bound arguments go on by reference: what the library writes reaches the caller
  // (directly, or through the write-back of this row's own binding).
  std::vector<Arg> forwarded;
  forwarded.reserve(args.size());
  for (size_t i = 0; i < args.size(); ++i) forwarded.push_back(Arg::ref(args[i]));

  library->PushWorkspace(self);
  Variant result;
  try {
    result = library->invoke(args.member().name, args.member().kind, forwarded);
  } catch (...) {
    // The host gets the error with the workspace it had before the call current again.
    library->PopWorkspace();
    throw;
  }
  library->PopWorkspace();
  return result;
}

}  // namespace zadeve::core
