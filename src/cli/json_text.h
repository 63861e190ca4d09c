#pragma once
// JSON string literals for the commands that print JSON: UTF-8 passes through unchanged.

#include <string>
#include <string_view>

namespace zadeve::cli {

inline std::string jsonString(std::string_view text) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string s = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += c;
    } else if (u < 0x20) {
      s += "\\u00";
      s += hex[u >> 4];
      s += hex[u & 15];
    } else {
      s += c;
    }
  }
  return s + "\"";
}

}  // namespace zadeve::cli
