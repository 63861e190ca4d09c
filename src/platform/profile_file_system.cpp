#include "platform/profile_file_system.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include <sys/stat.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/posix_io.h"
#include "platform/profile_lock.h"

namespace zadeve::platform {
namespace {

FileSystem* installed = nullptr;

void pauseFor(std::chrono::microseconds pause) {
#ifdef _WIN32
  ::Sleep(static_cast<DWORD>((pause.count() + 999) / 1000));
#else
  const timespec interval{0, static_cast<long>(pause.count()) * 1000};
  ::nanosleep(&interval, nullptr);
#endif
}

}  // namespace

bool FileStat::isRegular() const noexcept { return S_ISREG(mode); }
bool FileStat::isDirectory() const noexcept { return S_ISDIR(mode); }

FileSystem& profileFileSystem() { return installed != nullptr ? *installed : systemFileSystem(); }

void setProfileFileSystem(FileSystem* fileSystem) { installed = fileSystem; }

int FileSystem::lockWithin(int fd, int operation, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    if (flock(fd, operation | LOCK_NB) == 0) return 0;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK && errno != EAGAIN) return -1;
    const auto now = Clock::now();
    if (now >= deadline) break;
    // Short pauses at first (a writer holds the lock for a millisecond or so), then longer.
    pauseFor(std::min(pause, std::chrono::duration_cast<std::chrono::microseconds>(deadline - now) +
                                 std::chrono::microseconds(1)));
    pause = std::min(pause * 2, std::chrono::microseconds(20'000));
  }
  errno = EWOULDBLOCK;
  return -1;
}

std::string fileErrorText(int error) {
  if (error == kNotRegularFile) return "not a regular file";
  return std::strerror(error);
}

int readRegularFile(FileSystem& fs, const std::string& path, FileStat& stat, std::string& bytes,
                    std::int64_t maxBytes) {
  // O_NONBLOCK: opening a FIFO for reading would wait for a writer; regular files ignore it.
  const int fd = fs.open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0);
  if (fd < 0) return errno == EISDIR ? kNotRegularFile : errno;
  int error = 0;
  if (fs.fstat(fd, stat) != 0) error = errno;
  else if (!stat.isRegular()) error = kNotRegularFile;
  else if (stat.size > maxBytes) error = EFBIG;
  else if (!readOpenProfileFile(fs, fd, stat, bytes)) error = errno != 0 ? errno : EIO;
  fs.close(fd);
  return error;
}

bool readProfileFile(FileSystem& fs, const std::string& path, FileStat& stat, std::string& bytes) {
  const int fd = fs.open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0);
  if (fd < 0) return false;
  // A writer that cannot replace the file rewrites it in place under its lock; waiting for
  // it keeps a half-written file from being read. After the wait the file is read anyway:
  // a writer stopped inside its lock must not stop every reader with it.
  if (fs.fstat(fd, stat) == 0 && stat.isRegular()) fs.lockWithin(fd, LOCK_SH, kLockWaitMs);
  const bool ok = readOpenProfileFile(fs, fd, stat, bytes);
  fs.close(fd);
  return ok;
}

bool readOpenProfileFile(FileSystem& fs, int fd, FileStat& stat, std::string& bytes) {
  if (fs.fstat(fd, stat) != 0) return false;
  if (!stat.isRegular()) return errno = EINVAL, false;
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
