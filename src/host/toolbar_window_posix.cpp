#include "host/toolbar_window.h"

namespace zadeve::host {

// Forms here are headless: the bar needs no window.
std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>&, automation::Object&) { return {}; }
std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>&, int32_t) { return {}; }

}  // namespace zadeve::host
