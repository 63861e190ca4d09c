#pragma once
// Errors raised through a control's automation face name the member that raised them, so
// a host's message says which call went wrong.

#include <string_view>

#include "automation/error.h"

namespace zadeve::vizevore {

template <class Call>
auto namingMember(std::string_view className, std::string_view member, Call&& call) {
  try {
    return call();
  } catch (const automation::AutomationError& e) {
    std::string where = " (" + std::string(className) + "." + std::string(member.empty() ? "[default]" : member) + ")";
    automation::raise(e.number(), e.description() + where, e.source());
  }
}

}  // namespace zadeve::vizevore
