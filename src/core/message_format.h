#pragma once
// FormatMessageText: the one way the library makes message texts. A template is first
// translated by the process-wide text catalogue, then its ^1..^9 and ^n are filled by the
// process-wide argument formatter. Failures of either reach the caller.

#include <span>
#include <string>

#include "automation/variant.h"

namespace zadeve::core {

// args[0] is ^1; at most nine are used.
std::string FormatMessageText(const std::string& messageTemplate,
                              std::span<const automation::Variant> args = {});

}  // namespace zadeve::core
