#pragma once

// Every operating-system call the profile reader and writer make goes through this seam, so
// tests can make any one of them fail (or stop the clock) and check what is left behind.

#include <cstddef>
#include <cstdint>
#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace zadeve::platform {

struct FileStat {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t size = 0;
  std::uint32_t mode = 0;  // type and permission bits as the system reports them
  std::uint32_t owner = 0;
  std::uint32_t group = 0;
  std::uint32_t links = 1;  // names the file has (hard links)
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;

  bool isRegular() const noexcept;
  bool isDirectory() const noexcept;
};

// Calls mirror their POSIX namesakes: -1 (or nullopt) on failure with errno set.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual int open(const std::string& path, int flags, unsigned mode) = 0;
  virtual std::ptrdiff_t read(int fd, char* buffer, std::size_t count) = 0;
  virtual std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) = 0;
  virtual int fsync(int fd) = 0;
  virtual int close(int fd) = 0;
  virtual int stat(const std::string& path, FileStat& out) = 0;
  virtual int fstat(int fd, FileStat& out) = 0;
  virtual int access(const std::string& path, int how) = 0;
  virtual int fchmod(int fd, unsigned mode) = 0;
  virtual int fchown(int fd, std::uint32_t owner, std::uint32_t group) = 0;
  virtual int rename(const std::string& from, const std::string& to) = 0;
  virtual int unlink(const std::string& path) = 0;
  virtual std::optional<std::string> realPath(const std::string& path) = 0;
  virtual int flock(int fd, int operation) = 0;
  virtual int ftruncate(int fd, std::int64_t size) = 0;
  // flock that gives up after `timeoutMs` with EWOULDBLOCK. By default it polls flock with
  // LOCK_NB, so a replacement's flock is what answers.
  virtual int lockWithin(int fd, int operation, int timeoutMs);
  // The names in a folder, "." and ".." left out.
  virtual std::optional<std::vector<std::string>> listFolder(const std::string& path) = 0;
  virtual int processId() = 0;
  virtual int kill(int pid, int signal) = 0;
  // Wall-clock time in nanoseconds: the clock file times are stamped with.
  virtual std::int64_t nowNs() = 0;
};

// The system's own: POSIX calls, or on Windows the same contract over Win32 handles.
#ifdef _WIN32
class Win32FileSystem : public FileSystem {
#else
class PosixFileSystem : public FileSystem {
#endif
 public:
  int open(const std::string& path, int flags, unsigned mode) override;
  std::ptrdiff_t read(int fd, char* buffer, std::size_t count) override;
  std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) override;
  int fsync(int fd) override;
  int close(int fd) override;
  int stat(const std::string& path, FileStat& out) override;
  int fstat(int fd, FileStat& out) override;
  int access(const std::string& path, int how) override;
  int fchmod(int fd, unsigned mode) override;
  int fchown(int fd, std::uint32_t owner, std::uint32_t group) override;
  int rename(const std::string& from, const std::string& to) override;
  int unlink(const std::string& path) override;
  std::optional<std::string> realPath(const std::string& path) override;
  int flock(int fd, int operation) override;
  int ftruncate(int fd, std::int64_t size) override;
#ifdef _WIN32
  int lockWithin(int fd, int operation, int timeoutMs) override;
#endif
  std::optional<std::vector<std::string>> listFolder(const std::string& path) override;
  int processId() override;
  int kill(int pid, int signal) override;
  std::int64_t nowNs() override;
};

FileSystem& systemFileSystem();

// The installed replacement, or the system's own.
FileSystem& profileFileSystem();

// Installs a replacement (tests only); nullptr restores the real one. Not owned.
void setProfileFileSystem(FileSystem* fileSystem);

// What refuses a file that is not a regular one (a FIFO, a device, a folder), beside the
// errno values.
inline constexpr int kNotRegularFile = -1;

// The reason in words: "not a regular file", or the system's text for an errno value.
std::string fileErrorText(int error);

// Reads a whole regular file named by a user. The open never waits: a FIFO, a device or a
// folder is refused at once with kNotRegularFile, as is a file larger than `maxBytes`
// (EFBIG). Returns 0, or the reason; `stat` describes the file as it was opened.
int readRegularFile(FileSystem& fs, const std::string& path, FileStat& stat, std::string& bytes,
                    std::int64_t maxBytes = INT64_MAX);

// Reads a whole profile file. Anything else (missing, a directory, a pipe, unreadable)
// is false; `stat` describes the file as it was opened. It waits, for kLockWaitMs at most,
// for a writer that is rewriting the file in place (see profile_lock.h).
bool readProfileFile(FileSystem& fs, const std::string& path, FileStat& stat, std::string& bytes);

// The same for a file already open for reading; the descriptor stays open.
bool readOpenProfileFile(FileSystem& fs, int fd, FileStat& stat, std::string& bytes);

}  // namespace zadeve::platform
