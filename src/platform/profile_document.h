#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/profile_parser.h"

namespace zadeve::platform {

// A profile file's bytes with every section and key indexed, so a lookup is two hash probes.
// The index points into the document's own bytes, which is why it never moves or copies.
class ProfileDocument {
 public:
  explicit ProfileDocument(std::string bytes);
  ProfileDocument(const ProfileDocument&) = delete;
  ProfileDocument& operator=(const ProfileDocument&) = delete;

  const std::string& bytes() const noexcept { return bytes_; }

  // The trimmed value as stored (quotes not yet stripped). Only the first section of a
  // name is searched, and the first key of a name in it wins; names are matched as given.
  std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

 private:
  using KeyIndex = std::unordered_map<std::string_view, std::string_view, ProfileNameHash, ProfileNameEqual>;

  std::string bytes_;
  std::unordered_map<std::string_view, KeyIndex, ProfileNameHash, ProfileNameEqual> sections_;
};

}  // namespace zadeve::platform
