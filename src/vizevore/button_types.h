#pragma once
// The two enumerations of the type library: what a toolbar control reports as an item's
// `ButtonType` and `PushButtonFlags`. The library reads them; ReVivezav produces them.

#include <cstdint>

namespace zadeve {

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

// The caption position is a two-bit field, not two independent flags.
inline constexpr int32_t BF_CAPTIONMASK = BF_CAPABOVE | BF_CAPLEFT;

}  // namespace zadeve
