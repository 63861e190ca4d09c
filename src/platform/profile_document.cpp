#include "platform/profile_document.h"

#include <utility>

namespace zadeve::platform {

ProfileDocument::ProfileDocument(std::string bytes) : bytes_(std::move(bytes)) {
  ProfileLineReader reader(bytes_);
  ProfileLine line;
  // Keys before the first header, and keys of a repeated section, are reachable by no name.
  KeyIndex* current = nullptr;
  while (reader.next(line)) {
    if (line.kind == ProfileLineKind::Header) {
      auto [it, inserted] = sections_.try_emplace(line.name);
      current = inserted ? &it->second : nullptr;
    } else if (line.kind == ProfileLineKind::Key && current != nullptr) {
      current->try_emplace(line.name, line.value);
    }
  }
}

std::optional<std::string_view> ProfileDocument::find(std::string_view section,
                                                      std::string_view key) const {
  const auto sectionIt = sections_.find(section);
  if (sectionIt == sections_.end()) return std::nullopt;
  const auto keyIt = sectionIt->second.find(key);
  if (keyIt == sectionIt->second.end()) return std::nullopt;
  return keyIt->second;
}

}  // namespace zadeve::platform
