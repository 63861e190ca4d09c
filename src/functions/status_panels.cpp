// Status panels by name on every bar of a form, its palettes included. The button the
// bar's keyed lookup returns for the name is written or read whatever its kind.

#include "functions/function_scan.h"

namespace zadeve::core {

using functions::walkFunction;

void ZuzuzudLibrary::StatusMsg(const ObjectRef& f, const std::string& pan, const std::string& msg, bool UpdateNow) {
  walkFunction(*this, f, pan, [&](const Toolbar& bar) {
    bar.ButtonFor(pan).Caption(msg);
    if (UpdateNow) bar.Refresh();
    return true;
  });
}

void ZuzuzudLibrary::StatusProg(const ObjectRef& f, const std::string& pan, int16_t Percent) {
  walkFunction(*this, f, pan, [&](const Toolbar& bar) {
    bar.ButtonFor(pan).Progress(Percent);  // no range check: the panel decides
    return true;
  });
}

std::string ZuzuzudLibrary::GetStatusMsg(const ObjectRef& f, const std::string& pan) {
  std::string caption;
  walkFunction(*this, f, pan, [&](const Toolbar& bar) {
    caption = bar.ButtonFor(pan).Caption();
    return true;
  });
  return caption;
}

}  // namespace zadeve::core
