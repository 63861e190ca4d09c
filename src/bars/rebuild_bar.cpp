// KaTRebuildBar: fills a bar again from its configuration and shows it on its form,
// whatever its state keys say; the form learns of it through its Signal.

#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

void ZuzuzudLibrary::KaTRebuildBar(const ObjectRef& tb) {
  FillBar(tb, false);
  KaTSetProp(tb, "Visible", Variant("Yes"));
  Toolbar bar(tb);
  bar.Visible(true);
  HostForm(bar.parent()).Signal("RebuiltBar");
}

}  // namespace zadeve::core
