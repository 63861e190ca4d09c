#pragma once
// Where a ReVivezav sends its events: the form that holds it. The host sets the sink when
// it places the control; the form turns each event into a call of its own handler.

#include <span>
#include <string_view>

#include "automation/variant.h"

namespace zadeve::vizevore {

class ReVivezav;

// Event names, in the control's order.
namespace events {
inline constexpr std::string_view BarContextMenu = "BarContextMenu";  // button, shift, x, y
inline constexpr std::string_view ButtonClick = "ButtonClick";        // no arguments
inline constexpr std::string_view ButtonChange = "ButtonChange";      // value: Single, by reference
inline constexpr std::string_view ButtonSpinUp = "ButtonSpinUp";      // value: Single, by reference
inline constexpr std::string_view ButtonSpinDown = "ButtonSpinDown";  // value: Single, by reference
inline constexpr std::string_view ButtonValue = "ButtonValue";        // value: Single, by reference
}  // namespace events

class EventSink {
 public:
  // Runs the handler inside the user action that raised the event. An AutomationError
  // thrown here reaches whoever started the action. A handler may change a by-reference
  // value; the control takes the changed value over.
  virtual void controlEvent(ReVivezav& source, std::string_view event,
                            std::span<automation::Arg> args) = 0;

 protected:
  ~EventSink() = default;
};

}  // namespace zadeve::vizevore
