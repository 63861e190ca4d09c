#pragma once
// GetRECT and SetRECT of the maker's utility library: read and write the rectangle found at
// an address, such as the one a WM_SIZING message carries. Addresses are 32-bit, so the
// system side lends each rectangle an address for as long as the message is processed;
// a call with any other address raises 5 instead of touching memory.

#include <cstdint>

#include "platform/windowing.h"

namespace zadeve::platform {

void GetRECT(int32_t address, int32_t& left, int32_t& top, int32_t& right, int32_t& bottom);
void SetRECT(int32_t address, int32_t left, int32_t top, int32_t right, int32_t bottom);

// Lends `rect` an address until it goes out of scope.
class LentRect {
 public:
  explicit LentRect(PixelRect& rect);
  ~LentRect();
  LentRect(const LentRect&) = delete;
  LentRect& operator=(const LentRect&) = delete;
  int32_t address() const { return address_; }

 private:
  int32_t address_;
};

}  // namespace zadeve::platform
