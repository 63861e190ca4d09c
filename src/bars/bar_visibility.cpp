// Showing and hiding one bar. A bar's wish to be shown is its "Visible" property; a bar
// whose "State" is "Floating" is shown by floating it and hidden by closing its palette.
//
// Call flow of hiding a floating bar:
//   KaTSetVisible(f, tb, 0)
//     KaTBeginScan(Nothing); KATNextScan until a palette bar of the same "Name"
//       palette.Tag = "DONTDOCK"; palette.Unload
//         -> onUnload: state copied home, FloatPos saved, the bar stays hidden
//     "Visible" = "No"; f.Signal = "REFORMAT"   -> host: KaTLayout

#include "automation/conversions.h"
#include "core/host_contracts.h"
#include "core/library_rows.h"

namespace zadeve::core {

namespace {
std::string propText(ZuzuzudLibrary& lib, const ObjectRef& tb, const char* key, const char* dv) {
  return automation::toString(lib.KaTGetProp(tb, key, Variant(dv)));
}
}  // namespace

void ZuzuzudLibrary::KaTSetVisible(const ObjectRef& f, const ObjectRef& tb, int16_t v) {
  const bool shown = automation::toUpper(propText(*this, tb, "Visible", "No")) == "YES";
  if ((shown && v != 0) || (!shown && v != -1)) return;
  const bool floating = propText(*this, tb, "State", "") == "Floating";

  if (v == -1) {
    if (floating) {
      KaTSetProp(tb, "Visible", Variant("Yes"));  // the palette's bar is built from it
      KaTFloat(f, tb);
    } else {
      Toolbar(tb).Visible(true);
    }
  } else if (floating) {
    const std::string name = propText(*this, tb, "Name", "");
    KaTBeginScan(nullptr);
    while (automation::toBoolean(KATNextScan())) {
      const ObjectRef found = CurrentWorkspace_->aBar;
      if (!CurrentWorkspace_->IsFloating || propText(*this, found, "Name", "") != name) continue;
      HostForm palette(Toolbar(found).parent());
      palette.Tag("DONTDOCK");
      palette.Unload();
      break;
    }
  } else {
    Toolbar(tb).Visible(false);
  }

  KaTSetProp(tb, "Visible", Variant(v != 0 ? "Yes" : "No"));
  HostForm(f).Signal("REFORMAT");
}

int16_t ZuzuzudLibrary::KaTIsVisible(const ObjectRef& tb) {
  return automation::toVbBool(propText(*this, tb, "Visible", "") == "Yes");
}

}  // namespace zadeve::core
