#pragma once
// The process's current directory comes back when this goes, however the test ends; given a
// folder, that folder is current meanwhile, as for a user who runs the tool there.

#include <filesystem>
#include <string>

#include "platform/current_directory.h"

namespace zadeve::support {

struct InDirectory {
  InDirectory() = default;
  explicit InDirectory(const std::filesystem::path& dir) { platform::changeDirectory(dir.string()); }
  ~InDirectory() {
    try {
      platform::changeDirectory(before);
    } catch (...) {
      // A destructor may not throw; the folder before may be gone.
    }
  }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

  const std::string before = platform::currentDirectory();
};

}  // namespace zadeve::support
