#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/profile_document.h"
#include "platform/profile_file_system.h"

namespace zadeve::platform {

// Parsed profile files by path, checked against the file on every load.
//
// A cached document is reused when stat still reports the same device, inode, size, and
// modification and change times. File times are coarse (a clock tick, two seconds on FAT),
// so a same-size edit inside the tick the file was read in leaves stat unchanged. As git
// does with racily clean index entries, a document counts as verified only when the file's
// times lie safely before the moment its bytes were last read; until then every load
// reads the file again and compares the bytes.
//
// Like the rest of the library, it is used from one thread.
class ProfileCache {
 public:
  static constexpr std::int64_t kRacyWindowNs = 2'000'000'000;
  static constexpr std::size_t kMaxFiles = 16;

  // The document for the file at `path` as it is now; null when it cannot be read.
  std::shared_ptr<const ProfileDocument> load(const std::string& path);

  void forget(const std::string& path);
  void clear();

  static ProfileCache& instance();

 private:
  struct Entry {
    FileStat stat;
    std::int64_t verifiedAtNs = 0;  // the clock before the bytes were last read
    std::shared_ptr<const ProfileDocument> document;
  };

  static bool isSafelyOld(const Entry& entry) noexcept;

  std::unordered_map<std::string, Entry> entries_;
};

// Reads and parses the file without looking at or filling any cache.
std::unique_ptr<ProfileDocument> loadProfileDocument(const std::string& path);

}  // namespace zadeve::platform
