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
  auto it = entries_.find(path);
  if (it != entries_.end() && callDepth_ > 0 && it->second.checkedInEpoch == epoch_) {
    return it->second.document;
  }

  FileSystem& fs = profileFileSystem();
  FileStat now;
  if (fs.stat(path, now) != 0 || !now.isRegular()) {
    if (it != entries_.end()) entries_.erase(it);
    return nullptr;
  }
  if (it != entries_.end() && sameFile(it->second.stat, now) && isSafelyOld(it->second)) {
    it->second.checkedInEpoch = currentEpoch();
    return it->second.document;
  }

  const std::int64_t readAt = fs.nowNs();
  FileStat opened;
  std::string bytes;
  if (!readProfileFile(fs, path, opened, bytes)) {
    if (it != entries_.end()) entries_.erase(it);
    return nullptr;
  }
  if (it != entries_.end() && it->second.document->bytes() == bytes) {
    it->second.stat = opened;
    it->second.verifiedAtNs = readAt;
    it->second.checkedInEpoch = currentEpoch();
    return it->second.document;
  }
  Entry& entry = it != entries_.end() ? it->second : entryFor(path);
  entry.stat = opened;
  entry.verifiedAtNs = readAt;
  entry.checkedInEpoch = currentEpoch();
  entry.document = std::make_shared<const ProfileDocument>(std::move(bytes));
  return entry.document;
}

void ProfileCache::stored(const std::string& path, std::string bytes, const FileStat& stat, std::int64_t atNs) {
  ++epoch_;
  Entry& entry = entryFor(path);
  entry.stat = stat;
  entry.verifiedAtNs = atNs;
  entry.checkedInEpoch = currentEpoch();
  entry.document = std::make_shared<const ProfileDocument>(std::move(bytes));
}

ProfileCache::Entry& ProfileCache::entryFor(const std::string& path) {
  auto it = entries_.find(path);
  if (it != entries_.end()) return it->second;
  if (entries_.size() >= kMaxFiles) entries_.clear();
  return entries_.try_emplace(path).first->second;
}

void ProfileCache::forget(const std::string& path) {
  ++epoch_;
  entries_.erase(path);
}

void ProfileCache::clear() { entries_.clear(); }

void ProfileCache::beginCall() noexcept {
  if (callDepth_++ == 0) ++epoch_;
}

void ProfileCache::endCall() noexcept { --callDepth_; }

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
