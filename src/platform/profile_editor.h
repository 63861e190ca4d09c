#pragma once

// Edits of profile text in memory. Each touches only the lines it must and returns the new
// text, or nothing when the edit would leave every byte as it is. Names are matched as
// given: callers normalise them first.

#include <optional>
#include <string>
#include <string_view>

namespace zadeve::platform {

// Replaces the value of the first matching key of the first matching section, or adds the
// key after the section's last key line, or appends the section at the end of the text.
std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

std::optional<std::string> deleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key);

// Removes the header and every line up to the next header, comments and blanks included.
std::optional<std::string> deleteProfileSection(std::string_view text, std::string_view section);

}  // namespace zadeve::platform
