#pragma once
// The real file system behind the profile functions, installed for its lifetime, with one
// call broken, or watched (how often the cache checks a file: each check is one stat), as
// each test needs.

#include <fcntl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/profile_file_system.h"
#include "support/temp_dir.h"

namespace zadeve::platform {

enum class Failure { None, ReadOriginal, Lock, CreateTemporary, Write, ShortWriteThenFull, Fsync, Close, Rename };

struct SeamFileSystem : PosixFileSystem {
  SeamFileSystem() { setProfileFileSystem(this); }
  ~SeamFileSystem() override { setProfileFileSystem(nullptr); }
  static int fail(int error) { return errno = error, -1; }

  Failure failure = Failure::None;
  int lockError = 0;                       // flock as a file system without locks answers it
  std::optional<std::string> replacement;  // another writer renames this over `path` at the first lock
  std::string path;
  std::string statPath;  // counts only the stats of this path when set
  std::int64_t clockAheadNs = 0;
  std::optional<std::int64_t> frozenNs;  // file times as a coarse clock gives them within one tick
  int opens = 0, stats = 0, locks = 0;
  bool wrote = false;

  int open(const std::string& p, int flags, unsigned mode) override {
    ++opens;
    const Failure broken = (flags & O_CREAT) ? Failure::CreateTemporary : Failure::ReadOriginal;
    // A create refused for want of permission would be written in place instead.
    if (failure == broken && !(flags & O_DIRECTORY)) return fail(broken == Failure::CreateTemporary ? EDQUOT : EACCES);
    return PosixFileSystem::open(p, flags, mode);
  }
  std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) override {
    const bool halve = failure == Failure::ShortWriteThenFull;
    if (failure == Failure::Write || (halve && wrote)) return fail(ENOSPC);
    wrote = true;
    return PosixFileSystem::write(fd, buffer, halve ? count / 2 : count);
  }
  int flock(int fd, int operation) override {
    ++locks;
    if (failure == Failure::Lock) return fail(EIO);
    if (lockError) return fail(lockError);
    if (locks == 1 && replacement) {
      std::ofstream(path + ".other", std::ios::binary) << *replacement;
      std::filesystem::rename(path + ".other", path);
    }
    return PosixFileSystem::flock(fd, operation);
  }
  int fsync(int fd) override { return failure == Failure::Fsync ? fail(EIO) : PosixFileSystem::fsync(fd); }
  int close(int fd) override {
    const int result = PosixFileSystem::close(fd);
    return failure == Failure::Close ? fail(EIO) : result;
  }
  int rename(const std::string& from, const std::string& to) override {
    return failure == Failure::Rename ? fail(EXDEV) : PosixFileSystem::rename(from, to);
  }
  int stat(const std::string& p, FileStat& out) override {
    stats += statPath.empty() || p == statPath;
    return freeze(PosixFileSystem::stat(p, out), out);
  }
  int fstat(int fd, FileStat& out) override { return freeze(PosixFileSystem::fstat(fd, out), out); }
  std::int64_t nowNs() override { return PosixFileSystem::nowNs() + clockAheadNs; }
  int freeze(int result, FileStat& out) const {
    if (frozenNs) out.modifiedNs = out.changedNs = *frozenNs;
    return result;
  }
};

inline long entries(const support::TempDir& dir) {
  return std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator());
}

}  // namespace zadeve::platform
