#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zadeve::platform {

// Reads one value with the semantics of a private-profile read into a buffer of `size` chars:
// returns the value (trimmed, outer quotes stripped, cut to size-1 chars), or the default
// (trailing blanks removed, cut likewise) when file/section/key is missing or unreadable.
std::string readProfileString(std::string_view section, std::string_view key,
                              std::string_view defaultValue, const std::string& path,
                              std::size_t size = 256);

// Write semantics: key==nullopt deletes the section, value==nullopt deletes the key;
// section==nullopt is a failure. Returns true on success (also when nothing changes).
bool writeProfileString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key,
                        std::optional<std::string_view> value, const std::string& path);

// Why the last write that returned false failed: an errno value (EWOULDBLOCK: another
// writer held the file's lock for longer than kLockWaitMs), or kNotRegularFile for a FIFO
// or a device; fileErrorText (profile_file_system.h) puts it in words. 0 after a success.
int lastProfileWriteError();

}  // namespace zadeve::platform
