#include "host/reference_controls.h"

#include <algorithm>
#include <cmath>

#include "host/toolbar_window.h"
#include "platform/control_registry.h"
#include "platform/windowing.h"
#include "vizevore/revivezav.h"

namespace zadeve::host {

void registerReferenceControls() {
  platform::registerControl("vizevore.ReVivezav", [](automation::Object& form, automation::EventSink& sink) {
    const auto tpp = std::max(1, static_cast<int32_t>(std::lround(platform::windowing().twipsPerPixelX())));
    auto bar = automation::makeObject<vizevore::ReVivezav>(tpp);
    bar->attach(&form, &sink);
    auto closeWindow = openToolbarWindow(bar, form);
    return platform::PlacedControl{bar, [bar, closeWindow] {
                                     if (closeWindow) closeWindow();
                                     bar->detach();
                                   }};
  });
}

}  // namespace zadeve::host
