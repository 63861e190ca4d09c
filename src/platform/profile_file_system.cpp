#include "platform/profile_file_system.h"

#include <cerrno>

#include <sys/stat.h>

#include "platform/posix_io.h"

namespace zadeve::platform {
namespace {

FileSystem* installed = nullptr;

}  // namespace

bool FileStat::isRegular() const noexcept { return S_ISREG(mode); }
bool FileStat::isDirectory() const noexcept { return S_ISDIR(mode); }

FileSystem& profileFileSystem() { return installed != nullptr ? *installed : systemFileSystem(); }

void setProfileFileSystem(FileSystem* fileSystem) { installed = fileSystem; }

bool readProfileFile(FileSystem& fs, const std::string& path, FileStat& stat, std::string& bytes) {
  // O_NONBLOCK keeps a FIFO at the path from stalling the reader; regular files ignore it.
  const int fd = fs.open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK, 0);
  if (fd < 0) return false;
  const bool ok = readOpenProfileFile(fs, fd, stat, bytes);
  fs.close(fd);
  return ok;
}

bool readOpenProfileFile(FileSystem& fs, int fd, FileStat& stat, std::string& bytes) {
  if (fs.fstat(fd, stat) != 0 || !stat.isRegular()) return false;
  bytes.clear();
  bytes.resize(static_cast<std::size_t>(stat.size > 0 ? stat.size : 0) + 1);
  std::size_t used = 0;
  for (;;) {
    // The file may have grown since fstat; keep reading until the end.
    if (used == bytes.size()) bytes.resize(bytes.size() * 2 + 4096);
    const std::ptrdiff_t got = fs.read(fd, bytes.data() + used, bytes.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    used += static_cast<std::size_t>(got);
  }
  bytes.resize(used);
  return true;
}

}  // namespace zadeve::platform
