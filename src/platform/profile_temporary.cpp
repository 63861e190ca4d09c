#include "platform/profile_temporary.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdint>

#include "platform/posix_io.h"

namespace zadeve::platform {
namespace {

constexpr std::string_view kScheme = ".zadeve-";
constexpr std::string_view kSuffix = ".tmp";

// Decimal digits without a leading zero, as the writer prints them; the rest of `text` stays.
std::optional<std::int64_t> takeNumber(std::string_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits > 10 || text[0] == '0') return std::nullopt;
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + digits, value);
  text.remove_prefix(digits);
  return value;
}

std::string temporaryName(const ProfilePath& file, int pid, unsigned n) {
  return "." + file.name + std::string(kScheme) + std::to_string(pid) + "-" + std::to_string(n) +
         std::string(kSuffix);
}

}  // namespace

ProfilePath splitProfilePath(const std::string& path) {
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("/\\");
#else
  const std::size_t slash = path.rfind('/');
#endif
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

int createProfileTemporary(FileSystem& fs, const ProfilePath& file, unsigned mode, std::string& tempPath) {
  // A leftover of an earlier process with our id may hold a name; take the next one.
  static unsigned counter = 0;
  const int pid = fs.processId();
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath = file.folder + "/" + temporaryName(file, pid, ++counter);
    const int fd = fs.open(tempPath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool writeAllBytes(FileSystem& fs, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::ptrdiff_t written = fs.write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = ENOSPC;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int writeOutputFile(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::string target = fs.realPath(path).value_or(path);
  FileStat existing;
  const bool exists = fs.stat(target, existing) == 0;
  if (exists && existing.isDirectory()) return EISDIR;
  if (exists && !existing.isRegular()) return kNotRegularFile;
  // As a shell's redirection would: a file without write permission is not replaced.
  if (exists && ((existing.mode & 0222) == 0 || fs.access(target, W_OK) != 0)) return EACCES;
  const ProfilePath parts = splitProfilePath(target);
  if (parts.name.empty()) return EISDIR;
  std::string tempPath;
  // A new file gets what a plain create would give it: 0666 less the umask.
  const int fd = createProfileTemporary(fs, parts, 0666, tempPath);
  if (fd < 0) return errno;
  bool ok = (!exists || fs.fchmod(fd, existing.mode & 07777) == 0) && writeAllBytes(fs, fd, bytes) &&
            fs.fsync(fd) == 0;
  int error = errno;
  if (fs.close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && fs.rename(tempPath, target) != 0) ok = false, error = errno;
  if (!ok) fs.unlink(tempPath);
  return ok ? 0 : error;
}

std::optional<int> profileTemporaryOwner(std::string_view entry, std::string_view name) {
  if (!entry.starts_with('.')) return std::nullopt;
  entry.remove_prefix(1);
  if (!entry.starts_with(name)) return std::nullopt;
  entry.remove_prefix(name.size());
  if (!entry.starts_with(kScheme)) return std::nullopt;
  entry.remove_prefix(kScheme.size());
  const auto pid = takeNumber(entry);
  if (!pid || *pid > INT_MAX || !entry.starts_with('-')) return std::nullopt;
  entry.remove_prefix(1);
  if (!takeNumber(entry) || entry != kSuffix) return std::nullopt;
  return static_cast<int>(*pid);
}

void removeOrphanedTemporaries(FileSystem& fs, const ProfilePath& file) {
  const auto entries = fs.listFolder(file.folder);
  if (!entries) return;
  const int self = fs.processId();
  for (const std::string& entry : *entries) {
    const auto owner = profileTemporaryOwner(entry, file.name);
    if (!owner || *owner == self) continue;
    // Signal 0 only asks whether the process exists; EPERM means it does, as another user's.
    if (fs.kill(*owner, 0) == 0 || errno != ESRCH) continue;
    fs.unlink(file.folder + "/" + entry);
  }
}

}  // namespace zadeve::platform
