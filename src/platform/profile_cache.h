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
// Inside a call (see ProfileCallScope) a file is checked at its first load only.
//
// Like the rest of the library, it is used from one thread.
class ProfileCache {
 public:
  static constexpr std::int64_t kRacyWindowNs = 2'000'000'000;
  static constexpr std::size_t kMaxFiles = 16;

  // The document for the file at `path` as it is now; null when it cannot be read.
  std::shared_ptr<const ProfileDocument> load(const std::string& path);

  // Our own writer found or left `bytes` at `path`, described by `stat`; `atNs` is the clock
  // before it read or wrote them. Inside a call, every other file is checked again at its
  // next load (another spelling of the path may name the same file).
  void stored(const std::string& path, std::string bytes, const FileStat& stat, std::int64_t atNs);

  // Drops what is known of `path`; inside a call, every file is checked again as above.
  void forget(const std::string& path);
  void clear();

  void beginCall() noexcept;
  void endCall() noexcept;

  static ProfileCache& instance();

 private:
  struct Entry {
    FileStat stat;
    std::int64_t verifiedAtNs = 0;  // the clock before the bytes were last read
    std::uint64_t checkedInEpoch = 0;  // when it was last checked inside a call; 0 for none
    std::shared_ptr<const ProfileDocument> document;
  };

  static bool isSafelyOld(const Entry& entry) noexcept;
  Entry& entryFor(const std::string& path);
  std::uint64_t currentEpoch() const noexcept { return callDepth_ > 0 ? epoch_ : 0; }

  std::unordered_map<std::string, Entry> entries_;
  int callDepth_ = 0;
  // A new one when the outermost call begins and after each of our writes: inside a call,
  // an entry checked in the current epoch is used without looking at the file.
  std::uint64_t epoch_ = 0;
};

// One check of each profile file per call of the library. Open one at the entry of a
// library member: the first load of a file inside it validates the cache against the file
// as above; later loads reuse that document until the outermost scope closes. Our own
// writes update the cache at once, so they are seen by the rest of the call; an edit by
// anyone else after that first check is seen from the next call on. Nested scopes change
// nothing.
class ProfileCallScope {
 public:
  ProfileCallScope() noexcept { ProfileCache::instance().beginCall(); }
  ~ProfileCallScope() { ProfileCache::instance().endCall(); }
  ProfileCallScope(const ProfileCallScope&) = delete;
  ProfileCallScope& operator=(const ProfileCallScope&) = delete;
};

// Reads and parses the file without looking at or filling any cache.
std::unique_ptr<ProfileDocument> loadProfileDocument(const std::string& path);

}  // namespace zadeve::platform
