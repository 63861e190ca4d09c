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
// the rename would not care either, so the check has to be explicit. 0, or why not.
int writeRefusal(FileSystem& fs, const std::string& path, const FileStat& stat) {
  if ((stat.mode & kAnyWriteBit) == 0) return EACCES;
  return fs.access(path, W_OK) == 0 ? 0 : errno;
}

int lastError = 0;

bool fail(int error) {
  lastError = error;
  return false;
}

// Writes `bytes` over the file from its start and cuts it to their length, holding the
// writer's lock, which readers wait for. A write that fails half way (a full disk) puts
// the old bytes back: they fit where they were.
bool rewriteInPlace(FileSystem& fs, const std::string& path, std::string_view bytes, std::string_view old,
                    FileStat& written) {
  auto put = [&](std::string_view text, bool describe) {
    const int fd = fs.open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK, 0);
    if (fd < 0) return false;
    bool ok = writeAllBytes(fs, fd, text) && fs.ftruncate(fd, static_cast<std::int64_t>(text.size())) == 0 &&
              fs.fsync(fd) == 0 && (!describe || fs.fstat(fd, written) == 0);
    const int error = errno;
    ok = (fs.close(fd) == 0) && ok;
    if (!ok) errno = error;
    return ok;
  };
  if (put(bytes, true)) return true;
  const int error = errno;
  put(old, false);
  return fail(error);
}

enum class Replaced { Yes, NotPermitted, Failed };

// Writes `bytes` beside `path` and renames it over, so readers see the old file or the new
// one, never a mix. The new file keeps the old one's owner, group and mode; where the
// writer may not give it them (a member of the file's group, not its owner) or may not
// create a file beside it, nothing is renamed and the answer is NotPermitted. On failure the temporary is removed and `path`
// is untouched; on success `written` describes the new file.
Replaced replaceFile(FileSystem& fs, const std::string& path, std::string_view bytes, const FileStat& original,
                     FileStat& written) {
  const ProfilePath parts = splitProfilePath(path);
  if (parts.name.empty()) return fail(EISDIR), Replaced::Failed;
  std::string tempPath;
  const int fd = createProfileTemporary(fs, parts, 0600, tempPath);
  // A folder the writer may not add to, as a file it may not give away: a writable file
  // there is still written, in place.
  if (fd < 0) return errno == EACCES || errno == EPERM ? Replaced::NotPermitted : (fail(errno), Replaced::Failed);

  if (fs.fchown(fd, original.owner, original.group) != 0) {
    const int error = errno;
    fs.close(fd);
    fs.unlink(tempPath);
    if (error == EPERM || error == EINVAL) return Replaced::NotPermitted;
    fail(error);
    return Replaced::Failed;
  }
  bool ok = fs.fchmod(fd, original.mode & kPermissionBits) == 0 && writeAllBytes(fs, fd, bytes) &&
            fs.fsync(fd) == 0 && fs.fstat(fd, written) == 0;
  int error = errno;
  if (fs.close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && fs.rename(tempPath, path) != 0) ok = false, error = errno;
  if (!ok) {
    fs.unlink(tempPath);
    fail(error);
    return Replaced::Failed;
  }
  // Make the rename itself durable; the data is already safe, so a failure changes nothing.
  const int folder = fs.open(parts.folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (folder >= 0) {
    fs.fsync(folder);
    fs.close(folder);
  }
  return Replaced::Yes;
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
  lastError = 0;
  if (!section) return fail(EINVAL);
  if (path.empty()) return fail(ENOENT);
  const std::string_view sectionName = normalizeProfileName(*section);
  std::optional<std::string_view> keyName;
  if (key) keyName = normalizeProfileName(*key);
  std::optional<std::string_view> valueText;
  if (value) valueText = cutAtNul(*value);
  // A key line with no name could never be read back.
  if (keyName && valueText && keyName->empty()) return fail(EINVAL);

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
  if (hold.state() == ProfileHold::State::Failed) return fail(hold.error());

  const std::int64_t readAt = fs.nowNs();
  FileStat stat;
  std::string bytes;
  if (fs.fstat(hold.fd(), stat) == 0 && !stat.isRegular()) {
    return fail(stat.isDirectory() ? EISDIR : kNotRegularFile);
  }
  if (!readOpenProfileFile(fs, hold.fd(), stat, bytes)) {
    const int error = errno;
    hold.discardCreated();
    return fail(error);
  }
  auto edited = edit(bytes, sectionName, keyName, valueText);
  if (!edited) {
    cache.stored(path, std::move(bytes), stat, readAt);
    return true;
  }
  // The file just created for the lock is ours to write, whatever the umask left of its mode.
  if (!hold.created()) {
    if (const int refusal = writeRefusal(fs, hold.target(), stat)) return fail(refusal);
  }

  removeOrphanedTemporaries(fs, splitProfilePath(hold.target()));
  const std::int64_t writtenAt = fs.nowNs();
  FileStat written;
  // A second name of the file would keep the old file after a rename: it is rewritten in
  // place, as is a file whose owner the writer may not give a new file.
  Replaced replaced = stat.links > 1 ? Replaced::NotPermitted
                                     : replaceFile(fs, hold.target(), *edited, stat, written);
  if (replaced == Replaced::NotPermitted &&
      rewriteInPlace(fs, hold.target(), *edited, bytes, written)) {
    replaced = Replaced::Yes;
  }
  if (replaced != Replaced::Yes) {
    hold.discardCreated();
    cache.forget(path);
    return false;
  }
  cache.stored(path, std::move(*edited), written, writtenAt);
  return true;
}

int lastProfileWriteError() { return lastError; }

}  // namespace zadeve::platform
