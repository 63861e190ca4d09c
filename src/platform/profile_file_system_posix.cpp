// The profile seam over the POSIX calls.

#include "platform/profile_file_system.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zadeve::platform {
namespace {

FileStat toFileStat(const struct stat& st) {
  FileStat out;
  out.device = static_cast<std::uint64_t>(st.st_dev);
  out.inode = static_cast<std::uint64_t>(st.st_ino);
  out.size = static_cast<std::int64_t>(st.st_size);
  out.mode = static_cast<std::uint32_t>(st.st_mode);
  out.owner = static_cast<std::uint32_t>(st.st_uid);
  out.group = static_cast<std::uint32_t>(st.st_gid);
  out.links = static_cast<std::uint32_t>(st.st_nlink);
  out.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  out.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
  return out;
}

}  // namespace

FileSystem& systemFileSystem() {
  static PosixFileSystem instance;
  return instance;
}

int PosixFileSystem::open(const std::string& path, int flags, unsigned mode) {
  return ::open(path.c_str(), flags, static_cast<mode_t>(mode));
}

std::ptrdiff_t PosixFileSystem::read(int fd, char* buffer, std::size_t count) {
  return ::read(fd, buffer, count);
}

std::ptrdiff_t PosixFileSystem::write(int fd, const char* buffer, std::size_t count) {
  return ::write(fd, buffer, count);
}

int PosixFileSystem::fsync(int fd) { return ::fsync(fd); }
int PosixFileSystem::close(int fd) { return ::close(fd); }

int PosixFileSystem::stat(const std::string& path, FileStat& out) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return -1;
  out = toFileStat(st);
  return 0;
}

int PosixFileSystem::fstat(int fd, FileStat& out) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return -1;
  out = toFileStat(st);
  return 0;
}

int PosixFileSystem::access(const std::string& path, int how) { return ::access(path.c_str(), how); }
int PosixFileSystem::fchmod(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

int PosixFileSystem::fchown(int fd, std::uint32_t owner, std::uint32_t group) {
  return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group));
}

int PosixFileSystem::rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str());
}

int PosixFileSystem::unlink(const std::string& path) { return ::unlink(path.c_str()); }

std::optional<std::string> PosixFileSystem::realPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return std::nullopt;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

int PosixFileSystem::flock(int fd, int operation) { return ::flock(fd, operation); }
int PosixFileSystem::ftruncate(int fd, std::int64_t size) { return ::ftruncate(fd, static_cast<off_t>(size)); }

std::optional<std::vector<std::string>> PosixFileSystem::listFolder(const std::string& path) {
  DIR* folder = ::opendir(path.c_str());
  if (folder == nullptr) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(folder);
  return names;
}

int PosixFileSystem::processId() { return static_cast<int>(::getpid()); }
int PosixFileSystem::kill(int pid, int signal) { return ::kill(static_cast<pid_t>(pid), signal); }

std::int64_t PosixFileSystem::nowNs() {
  timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace zadeve::platform
