// KaTCopyBarState: one bar takes over the button states of another (palette and host
// bar stay in step this way).

#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

void ZuzuzudLibrary::KaTCopyBarState(const ObjectRef& fromBar, const ObjectRef& toBar) {
  try {
    Toolbar(toBar).CopyStateFromReVivezavAsObject(fromBar);
  } catch (const automation::AutomationError& e) {
    // A button that only one of the bars has makes the control raise a type mismatch:
    // nothing to restore there. The report shows the error's number.
    if (e.number() == automation::err::TypeMismatch) return;
    ReportToHost("Problem while restoring bar state: '^1'.^nMay have been caused by editing BARS.INI while running.",
                 {Variant(e.number())});
  }
}

}  // namespace zadeve::core
