#include "platform/profile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "platform/profile_cache.h"
#include "platform/profile_editor.h"
#include "platform/profile_file_system.h"
#include "platform/profile_parser.h"

namespace zadeve::platform {
namespace {

constexpr unsigned kPermissionBits = 07777;
constexpr unsigned kAnyWriteBit = 0222;

struct PathParts {
  std::string folder;
  std::string name;
};

PathParts splitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

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

int createTemporary(FileSystem& fs, const PathParts& parts, unsigned mode, std::string& tempPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath = parts.folder + "/." + parts.name + "." + std::to_string(fs.nowNs()) + "." +
               std::to_string(++counter) + ".tmp";
    const int fd = fs.open(tempPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes `bytes` beside `path` and renames it over, so readers see the old file or the new
// one, never a mix. On failure the temporary is removed and `path` is untouched.
bool replaceFile(FileSystem& fs, const std::string& path, std::string_view bytes,
                 const FileStat* original) {
  const PathParts parts = splitPath(path);
  if (parts.name.empty()) return false;
  std::string tempPath;
  // A new file gets what a plain create would give it (0666 less the umask).
  const int fd = createTemporary(fs, parts, original ? 0600 : 0666, tempPath);
  if (fd < 0) return false;

  if (original != nullptr) {
    // Best effort: an unprivileged writer cannot hand the file to another owner.
    fs.fchown(fd, original->owner, original->group);
    fs.fchmod(fd, original->mode & kPermissionBits);
  }
  bool ok = writeAll(fs, fd, bytes) && fs.fsync(fd) == 0;
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
  // Through a symbolic link, replace the file it points to rather than the link.
  const std::string target = fs.realPath(path).value_or(path);
  FileStat stat;
  std::string bytes;
  const bool exists = fs.stat(target, stat) == 0;
  if (exists && !readProfileFile(fs, target, stat, bytes)) return false;

  const auto edited = edit(bytes, sectionName, keyName, valueText);
  if (!edited) return true;
  if (exists && !isWritable(fs, target, stat)) return false;

  const bool replaced = replaceFile(fs, target, *edited, exists ? &stat : nullptr);
  ProfileCache::instance().forget(path);
  return replaced;
}

}  // namespace zadeve::platform
