#pragma once
// The per-build list of icon sets already added to a control. Each set is kept as the
// character whose code is its number, so the list holds the numbers 0 to 255 only and
// asking about any other number is an invalid call (5).

#include <string>

#include "automation/error.h"
#include "core/zuzuzud_library.h"

namespace zadeve::build {

inline char loadedMark(int16_t set) {
  if (set < 0 || set > 255)
    automation::raise(automation::err::InvalidCall,
                      "Icon set " + std::to_string(set) + " is not a number from 0 to 255");
  return static_cast<char>(static_cast<unsigned char>(set));
}

inline bool isLoaded(const core::LoadedIconSets& loaded, int16_t set) {
  return loaded.find(loadedMark(set)) != std::string::npos;
}

inline void recordLoaded(core::LoadedIconSets& loaded, int16_t set) { loaded.push_back(loadedMark(set)); }

}  // namespace zadeve::build
