#include "platform/current_directory.h"

#include <filesystem>
#include <system_error>

#include "automation/error.h"

#ifdef _WIN32
#include <direct.h>
#endif

namespace zadeve::platform {

void changeDrive(const std::string& path) {
#ifdef _WIN32
  // Only a path that begins with a drive ("C:...") changes it; a relative or UNC folder
  // stays on the current drive, which is where the runtime would resolve it anyway.
  if (path.size() < 2 || path[1] != ':') return;
  char letter = path[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter < 'A' || letter > 'Z' || _chdrive(letter - 'A' + 1) != 0)
    automation::raise(automation::err::DeviceUnavailable, "Device unavailable: " + path);
#else
  (void)path;
#endif
}

void changeDirectory(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(path, ec);
  if (ec) automation::raise(automation::err::PathNotFound, "Path not found: " + path);
}

std::string currentDirectory() {
  std::error_code ec;
  auto path = std::filesystem::current_path(ec);
  return ec ? std::string() : path.string();
}

}  // namespace zadeve::platform
