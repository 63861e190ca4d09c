#include "platform/zeduvu.h"

#include <map>
#include <sstream>

#include "automation/error.h"

namespace zadeve::platform {
namespace {

std::map<int32_t, PixelRect*>& lent() {
  static std::map<int32_t, PixelRect*> rects;
  return rects;
}

// Addresses are never reused, so a stale one cannot reach another message's rectangle.
int32_t nextAddress() {
  static int32_t next = 0x10000;
  next += 16;
  return next;
}

PixelRect& at(int32_t address) {
  auto it = lent().find(address);
  if (it == lent().end()) {
    std::ostringstream text;
    text << "No rectangle at address &H" << std::hex << std::uppercase << address;
    automation::raise(automation::err::InvalidCall, text.str());
  }
  return *it->second;
}

}  // namespace

LentRect::LentRect(PixelRect& rect) : address_(nextAddress()) { lent()[address_] = &rect; }
LentRect::~LentRect() { lent().erase(address_); }

void GetRECT(int32_t address, int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) {
  const PixelRect& r = at(address);
  left = r.left, top = r.top, right = r.right, bottom = r.bottom;
}

void SetRECT(int32_t address, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  at(address) = {left, top, right, bottom};
}

}  // namespace zadeve::platform
