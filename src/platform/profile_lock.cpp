#include "platform/profile_lock.h"

#include <cerrno>

#include "platform/posix_io.h"

namespace zadeve::platform {
namespace {

// Every round lost means another writer finished a write meanwhile; the bound only stops a
// file system that keeps answering with another file.
constexpr int kMaxRounds = 1000;

bool sameFile(const FileStat& a, const FileStat& b) noexcept {
  return a.device == b.device && a.inode == b.inode;
}

bool locksUnsupported(int error) noexcept {
  return error == ENOLCK || error == EOPNOTSUPP || error == ENOTSUP || error == ENOSYS;
}

}  // namespace

ProfileHold::ProfileHold(FileSystem& fs, const std::string& path, CreateMissing create) : fs_(fs) {
  for (int round = 0; round < kMaxRounds; ++round) {
    // Through a symbolic link, the file it points to is the one to lock and replace.
    const auto resolved = fs_.realPath(path);
    target_ = resolved.value_or(path);
    // O_NONBLOCK keeps a FIFO at the path from stalling the writer; regular files ignore it.
    fd_ = fs_.open(target_, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0);
    if (fd_ < 0) {
      error_ = errno;
      if (errno != ENOENT) return;
      if (create == CreateMissing::No) {
        state_ = State::Missing;
        return;
      }
      // 0666 less the umask, as a plain create would make it.
      fd_ = fs_.open(target_, O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ < 0) {
        error_ = errno;
        if (errno != EEXIST) return;
        // Another writer created it meanwhile, or the path is a link to a missing file:
        // create what it points to and look again, now through the resolved path.
        const int other = fs_.open(target_, O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        if (other < 0) {
          error_ = errno;
          return;
        }
        fs_.close(other);
        continue;
      }
      created_ = true;
    }

    switch (lock()) {
      case Lock::Unsupported:
        state_ = State::Held;
        return;
      case Lock::Failed:
        error_ = errno;
        discardCreated();
        closeFile();
        return;
      case Lock::Taken:
        break;
    }
    if (stillNamed()) {
      error_ = 0;
      locked_ = true;
      state_ = State::Held;
      return;
    }
    // Whatever we created has been replaced (or removed) by the writer that had it first.
    created_ = false;
    closeFile();
  }
}

ProfileHold::~ProfileHold() { closeFile(); }

ProfileHold::Lock ProfileHold::lock() {
  if (fs_.lockWithin(fd_, LOCK_EX, kLockWaitMs) == 0) return Lock::Taken;
  return locksUnsupported(errno) ? Lock::Unsupported : Lock::Failed;
}

bool ProfileHold::stillNamed() {
  FileStat held, named;
  return fs_.fstat(fd_, held) == 0 && fs_.stat(target_, named) == 0 && sameFile(held, named);
}

void ProfileHold::discardCreated() {
  // Only while the path still names it: the file may already be someone else's.
  const int error = errno;
  if (created_ && fd_ >= 0 && stillNamed()) fs_.unlink(target_);
  created_ = false;
  errno = error;
}

void ProfileHold::closeFile() {
  const int error = errno;
  if (fd_ >= 0) fs_.close(fd_);
  fd_ = -1;
  errno = error;
}

}  // namespace zadeve::platform
