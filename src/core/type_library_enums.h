#pragma once
// The two enumerations of the library's type library: the values a toolbar control
// reports as an item's `ButtonType` and `PushButtonFlags`. In C++ they are the constants
// below; for every other host they are type information, not objects with members, so
// they are kept as a table of named constants that the type library is written from
// and that a host looks a constant up in by name.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zadeve::core {

enum ButtonTypesDeprecated : int32_t {
  KAT_GAP = 1,
  KAT_BREAK = 2,
  KAT_MXGROUPSTART = 3,
  KAT_MXGROUPEND = 4,
  KAT_PUSHBUTTON = 10,
  KAT_PANEL = 20,
  KAT_SPIN = 30,
  KAT_COMBO = 40,
};

enum ButtonFlags : int32_t {
  BF_DOWN = 1,
  BF_TOGGLE = 2,
  BF_BUMP = 4,
  BF_DIP = 8,
  BF_CAPBELOW = 0,
  BF_CAPABOVE = 16,
  BF_CAPLEFT = 32,
  BF_CAPRIGHT = 48,
  BF_MAXWIDTH = 64,
  BF_ON = 128,
};

struct NamedConstant {
  std::string_view name;
  int32_t value;
};

struct Enumeration {
  std::string_view name;
  std::span<const NamedConstant> constants;  // in declared order
};

// ButtonTypesDeprecated, then ButtonFlags.
std::span<const Enumeration> typeLibraryEnumerations();

// The value of a constant of either enumeration; names match case-insensitively, as
// every name of the automation face does.
std::optional<int32_t> enumerationConstant(std::string_view name);

}  // namespace zadeve::core
