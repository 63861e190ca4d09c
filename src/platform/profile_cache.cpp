#include "platform/profile_cache.h"

#include <algorithm>
#include <utility>

namespace zadeve::platform {
namespace {

bool sameFile(const FileStat& a, const FileStat& b) noexcept {
  return a.device == b.device && a.inode == b.inode && a.size == b.size &&
         a.modifiedNs == b.modifiedNs && a.changedNs == b.changedNs && a.mode == b.mode;
}

}  // namespace

bool ProfileCache::isSafelyOld(const Entry& entry) noexcept {
  const std::int64_t stamped = std::max(entry.stat.modifiedNs, entry.stat.changedNs);
  return stamped < entry.verifiedAtNs - kRacyWindowNs;
}

std::shared_ptr<const ProfileDocument> ProfileCache::load(const std::string& path) {
  FileSystem& fs = profileFileSystem();
  FileStat now;
  if (fs.stat(path, now) != 0 || !now.isRegular()) {
    entries_.erase(path);
    return nullptr;
  }
  auto it = entries_.find(path);
  if (it != entries_.end() && sameFile(it->second.stat, now) && isSafelyOld(it->second)) {
    return it->second.document;
  }

  const std::int64_t readAt = fs.nowNs();
  FileStat opened;
  std::string bytes;
  if (!readProfileFile(fs, path, opened, bytes)) {
    entries_.erase(path);
    return nullptr;
  }
  if (it != entries_.end() && it->second.document->bytes() == bytes) {
    it->second.stat = opened;
    it->second.verifiedAtNs = readAt;
    return it->second.document;
  }
  if (it == entries_.end()) {
    if (entries_.size() >= kMaxFiles) entries_.clear();
    it = entries_.try_emplace(path).first;
  }
  it->second.stat = opened;
  it->second.verifiedAtNs = readAt;
  it->second.document = std::make_shared<const ProfileDocument>(std::move(bytes));
  return it->second.document;
}

void ProfileCache::forget(const std::string& path) { entries_.erase(path); }

void ProfileCache::clear() { entries_.clear(); }

ProfileCache& ProfileCache::instance() {
  static ProfileCache cache;
  return cache;
}

std::unique_ptr<ProfileDocument> loadProfileDocument(const std::string& path) {
  FileStat stat;
  std::string bytes;
  if (!readProfileFile(profileFileSystem(), path, stat, bytes)) return nullptr;
  return std::make_unique<ProfileDocument>(std::move(bytes));
}

}  // namespace zadeve::platform
