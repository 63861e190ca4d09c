#pragma once
// The events a ReVivezav raises to the form that holds it (automation/event_sink.h).

#include <string_view>

#include "automation/event_sink.h"

namespace zadeve::vizevore {

using automation::EventSink;

// Event names, in the control's order.
namespace events {
inline constexpr std::string_view BarContextMenu = "BarContextMenu";  // button, shift, x, y
inline constexpr std::string_view ButtonClick = "ButtonClick";        // no arguments
inline constexpr std::string_view ButtonChange = "ButtonChange";      // value: Single, by reference
inline constexpr std::string_view ButtonSpinUp = "ButtonSpinUp";      // value: Single, by reference
inline constexpr std::string_view ButtonSpinDown = "ButtonSpinDown";  // value: Single, by reference
inline constexpr std::string_view ButtonValue = "ButtonValue";        // value: Single, by reference
}  // namespace events

}  // namespace zadeve::vizevore
