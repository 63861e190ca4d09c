#include "platform/profile_reader.h"

#include "platform/profile.h"
#include "platform/profile_cache.h"
#include "platform/profile_parser.h"

namespace zadeve::platform {
namespace {

// What fits a buffer of `size` chars with its terminating NUL.
std::string fitBuffer(std::string_view text, std::size_t size) {
  if (size == 0) return {};
  return std::string(text.substr(0, size - 1));
}

std::string_view stripOuterQuotes(std::string_view value) noexcept {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Only trailing spaces go; leading ones, tabs and quotes are the caller's business.
std::string_view shapeDefault(std::string_view defaultValue) noexcept {
  std::string_view text = cutAtNul(defaultValue);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::string lookup(const ProfileDocument* document, std::string_view section, std::string_view key,
                   std::string_view defaultValue, std::size_t size) {
  if (document != nullptr) {
    if (auto value = document->find(normalizeProfileName(section), normalizeProfileName(key))) {
      return fitBuffer(stripOuterQuotes(*value), size);
    }
  }
  return fitBuffer(shapeDefault(defaultValue), size);
}

}  // namespace

std::string readProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::string& path,
                              std::size_t size) {
  const auto document = ProfileCache::instance().load(path);
  return lookup(document.get(), section, key, defaultValue, size);
}

std::string readProfileStringUncached(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, const std::string& path,
                                      std::size_t size) {
  const auto document = loadProfileDocument(path);
  return lookup(document.get(), section, key, defaultValue, size);
}

}  // namespace zadeve::platform
