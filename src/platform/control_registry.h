#pragma once
// Controls by program identifier. A form whose controls the library creates (the palette's
// toolbar) reaches the control only late-bound, so it asks for one by its identifier
// ("vizevore.ReVivezav"); the host registers what stands behind each identifier: the
// reference host our own control, tests a fake, the COM binding a Win32 control.

#include <functional>
#include <string>
#include <string_view>

#include "automation/event_sink.h"
#include "automation/object.h"

namespace zadeve::platform {

// A control placed on a form. The form hears the control's events through the sink it gave
// and calls `detach` before it goes, so the control never reaches a form that is gone.
struct PlacedControl {
  automation::ObjectRef control;
  std::function<void()> detach;
};

using ControlFactory = std::function<PlacedControl(automation::Object& form, automation::EventSink& sink)>;

// Identifiers match ignoring case. An empty factory removes the registration. Returns the
// factory registered before, so a test can put it back.
ControlFactory registerControl(std::string_view progId, ControlFactory factory);

// Raises 429 when no factory is registered for the identifier.
PlacedControl createControl(std::string_view progId, automation::Object& form, automation::EventSink& sink);

}  // namespace zadeve::platform
