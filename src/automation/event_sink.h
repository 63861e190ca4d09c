#pragma once
// Where a control sends its events: the form that holds it. The form sets itself as the
// sink when it places the control and turns each event into a call of its own handler,
// as the runtime's containers do for the controls they site.

#include <span>
#include <string_view>

#include "automation/variant.h"

namespace zadeve::automation {

class EventSink {
 public:
  // Runs the handler inside whatever raised the event. An AutomationError thrown here
  // reaches whoever started it. A handler may change a by-reference argument; the control
  // takes the changed value over.
  virtual void controlEvent(Object& source, std::string_view event, std::span<Arg> args) = 0;

 protected:
  ~EventSink() = default;
};

}  // namespace zadeve::automation
