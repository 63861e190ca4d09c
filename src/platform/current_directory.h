#pragma once
// The process's current drive and directory, as the runtime changes them. Bar set setup
// moves into the bitmap folder before it builds bars, so that relative file names in
// the configuration resolve there.

#include <string>

namespace zadeve::platform {

// Makes the drive that `path` begins with ("C:...") the current drive. Only Windows has
// drives; elsewhere, and for a path that names no drive, nothing changes.
void changeDrive(const std::string& path);

// Makes `path` the current directory. An empty path changes nothing (no folder was
// configured). Raises 76 "Path not found", naming the path, when it cannot be entered.
void changeDirectory(const std::string& path);

// The current directory, for callers that restore it afterwards.
std::string currentDirectory();

}  // namespace zadeve::platform
