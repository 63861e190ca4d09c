#include "platform/profile.h"

#include <cerrno>
#include "platform/posix_io.h"

#include "platform/profile_cache.h"
#include "platform/profile_editor.h"
#include "platform/profile_file_system.h"
#include "platform/profile_lock.h"
#include "platform/profile_parser.h"
#include "platform/profile_temporary.h"

namespace zadeve::platform {
namespace {

constexpr unsigned kPermissionBits = 07777;
constexpr unsigned kAnyWriteBit = 0222;

// A file without any write bit is read-only even for root, who could write it regardless;
// the rename would not care either, so the check has to be explicit.
bool isWritable(FileSystem& fs, const std::string& path, const FileStat& stat) {
  return (stat.mode & kAnyWriteBit) != 0 && fs.access(path, W_OK) == 0;
}

bool writeAll(FileSystem& fs, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::ptrdiff_t written = fs.write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Writes `bytes` beside `path` and renames it over, so readers see the old file or the new
// one, never a mix. On failure the temporary is removed and `path` is untouched; on success
// `written` describes the new file.
bool replaceFile(FileSystem& fs, const std::string& path, std::string_view bytes, const FileStat& original,
                 FileStat& written) {
  const ProfilePath parts = splitProfilePath(path);
  if (parts.name.empty()) return false;
  std::string tempPath;
  const int fd = createProfileTemporary(fs, parts, 0600, tempPath);
  if (fd < 0) return false;

  // Best effort: an unprivileged writer cannot hand the file to another owner.
  fs.fchown(fd, original.owner, original.group);
  fs.fchmod(fd, original.mode & kPermissionBits);
  bool ok = writeAll(fs, fd, bytes) && fs.fsync(fd) == 0 && fs.fstat(fd, written) == 0;
  ok = (fs.close(fd) == 0) && ok;
  ok = ok && fs.rename(tempPath, path) == 0;
  if (!ok) {
    fs.unlink(tempPath);
    return false;
  }
  // Make the rename itself durable; the data is already safe, so a failure changes nothing.
  const int folder = fs.open(parts.folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (folder >= 0) {
    fs.fsync(folder);
    fs.close(folder);
  }
  return true;
}

std::optional<std::string> edit(std::string_view text, std::string_view section,
                                 std::optional<std::string_view> key,
                                 std::optional<std::string_view> value) {
  if (!key) return deleteProfileSection(text, section);
  if (!value) return deleteProfileKey(text, section, *key);
  return setProfileValue(text, section, *key, *value);
}

}  // namespace

bool writeProfileString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key,
                        std::optional<std::string_view> value, const std::string& path) {
  if (!section || path.empty()) return false;
  const std::string_view sectionName = normalizeProfileName(*section);
  std::optional<std::string_view> keyName;
  if (key) keyName = normalizeProfileName(*key);
  std::optional<std::string_view> valueText;
  if (value) valueText = cutAtNul(*value);
  // A key line with no name could never be read back.
  if (keyName && valueText && keyName->empty()) return false;

  FileSystem& fs = profileFileSystem();
  // A missing file is created only by a write that puts something into it.
  const bool fillsEmptyFile = edit("", sectionName, keyName, valueText).has_value();
  // The cache learns what every write found, changed or not: a write is seen by the reads
  // after it even inside one call of the library, where the file is not checked again.
  ProfileCache& cache = ProfileCache::instance();
  ProfileHold hold(fs, path, fillsEmptyFile ? CreateMissing::Yes : CreateMissing::No);
  if (hold.state() == ProfileHold::State::Missing) {
    cache.forget(path);
    return true;
  }
  if (hold.state() == ProfileHold::State::Failed) return false;

  const std::int64_t readAt = fs.nowNs();
  FileStat stat;
  std::string bytes;
  if (!readOpenProfileFile(fs, hold.fd(), stat, bytes)) {
    hold.discardCreated();
    return false;
  }
  auto edited = edit(bytes, sectionName, keyName, valueText);
  if (!edited) {
    cache.stored(path, std::move(bytes), stat, readAt);
    return true;
  }
  // The file just created for the lock is ours to write, whatever the umask left of its mode.
  if (!hold.created() && !isWritable(fs, hold.target(), stat)) return false;

  removeOrphanedTemporaries(fs, splitProfilePath(hold.target()));
  const std::int64_t writtenAt = fs.nowNs();
  FileStat written;
  if (!replaceFile(fs, hold.target(), *edited, stat, written)) {
    hold.discardCreated();
    cache.forget(path);
    return false;
  }
  cache.stored(path, std::move(*edited), written, writtenAt);
  return true;
}

}  // namespace zadeve::platform
