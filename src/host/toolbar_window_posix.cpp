#include "host/toolbar_window.h"

namespace zadeve::host {

// Forms here are headless: the bar needs no window.
std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>&, automation::Object&) { return {}; }

}  // namespace zadeve::host
