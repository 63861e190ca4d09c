#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zadeve::platform {

// readProfileString without the cache: opens, reads and parses the file for this one
// lookup. Same result; it is the baseline the cached read is measured against.
std::string readProfileStringUncached(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const std::string& path,
                                      std::size_t size = 256);

}  // namespace zadeve::platform
