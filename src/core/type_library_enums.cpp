#include "core/type_library_enums.h"

#include "automation/conversions.h"

namespace zadeve::core {
namespace {

constexpr NamedConstant ButtonTypes[] = {
    {"KAT_GAP", KAT_GAP},
    {"KAT_BREAK", KAT_BREAK},
    {"KAT_MXGROUPSTART", KAT_MXGROUPSTART},
    {"KAT_MXGROUPEND", KAT_MXGROUPEND},
    {"KAT_PUSHBUTTON", KAT_PUSHBUTTON},
    {"KAT_PANEL", KAT_PANEL},
    {"KAT_SPIN", KAT_SPIN},
    {"KAT_COMBO", KAT_COMBO},
};

constexpr NamedConstant Flags[] = {
    {"BF_DOWN", BF_DOWN},         {"BF_TOGGLE", BF_TOGGLE},   {"BF_BUMP", BF_BUMP},
    {"BF_DIP", BF_DIP},           {"BF_CAPBELOW", BF_CAPBELOW}, {"BF_CAPABOVE", BF_CAPABOVE},
    {"BF_CAPLEFT", BF_CAPLEFT},   {"BF_CAPRIGHT", BF_CAPRIGHT}, {"BF_MAXWIDTH", BF_MAXWIDTH},
    {"BF_ON", BF_ON},
};

constexpr Enumeration Enumerations[] = {
    {"ButtonTypesDeprecated", ButtonTypes},
    {"ButtonFlags", Flags},
};

}  // namespace

std::span<const Enumeration> typeLibraryEnumerations() { return Enumerations; }

std::optional<int32_t> enumerationConstant(std::string_view name) {
  for (const auto& e : Enumerations)
    for (const auto& c : e.constants)
      if (automation::equalsIgnoreCase(c.name, name)) return c.value;
  return std::nullopt;
}

}  // namespace zadeve::core
