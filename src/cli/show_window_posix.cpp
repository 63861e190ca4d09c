#include <ostream>

#include "cli/show_window.h"

namespace zadeve::cli {

int showOnDesktop(const ShowOptions&, Console& console) {
  console.err << "zadeve: show opens a window of the desktop, which only the Windows build (zadeve.exe) has; "
                 "zadeve render draws the same view into a PNG\n";
  return ExitFailed;
}

}  // namespace zadeve::cli
