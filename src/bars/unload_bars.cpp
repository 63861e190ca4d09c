// KaTUnloadBars takes a form's bars out of the workspace's toolbar manager and, for a
// host form, closes the palettes that float its bars without docking them again.
//
// Call flow while a host form unloads:
//   KaTUnloadBars(host)
//     walk 1: TBM.Remove every bar whose parent is the host
//     walk 2: for a bar on a palette whose targetForm is the host:
//               palette.Tag = "DONTDOCK"; palette.Unload
//                 -> the palette runs KaTUnloadBars(palette): walk 1 removes its bar
//               go on from the position that is now last

#include <algorithm>
#include <vector>

#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {
namespace {
constexpr const char* PaletteFormName = "frmToolPalette";
}  // namespace

void ZuzuzudLibrary::KaTUnloadBars(const ObjectRef& f) {
  using automation::Passing;
  ToolbarManager tbm(CurrentWorkspace_->TBM());

  for (int16_t pos = tbm.Count(); pos >= 1; --pos) {
    if (Toolbar(tbm.ItemAsObject(pos, Passing::ByRef)).parent() == f) tbm.Remove(pos);
  }

  if (HostForm(f).Name() == PaletteFormName) return;

  // A palette whose unload left its bar behind is not unloaded a second time, so the
  // walk always ends.
  std::vector<ObjectRef> unloaded;
  int16_t pos = tbm.Count();
  while (pos >= 1) {
    HostForm owner(Toolbar(tbm.ItemAsObject(pos, Passing::ByRef)).parent());
    bool closes = owner.Name() == PaletteFormName && owner.targetForm() == f &&
                  std::find(unloaded.begin(), unloaded.end(), owner.object()) == unloaded.end();
    if (!closes) {
      --pos;
      continue;
    }
    unloaded.push_back(owner.object());
    owner.Tag("DONTDOCK");
    owner.Unload();
    pos = tbm.Count();
  }
}

void ZuzuzudLibrary::KaTReleaseBars(const ObjectRef&) {}

}  // namespace zadeve::core
