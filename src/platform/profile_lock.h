#pragma once
// A writer's hold on a profile file for one read-modify-replace.
//
// Writers of one file, in this process or any other, take turns on an exclusive advisory
// lock of the file itself. flock rather than fcntl: an fcntl lock belongs to the process
// and goes away when the process closes any descriptor of the file, which the reader's own
// open and close would do in the middle of a write; a flock lock belongs to the open
// descriptor alone and works on one opened read-only. A writer replaces the file by
// renaming a new one over it, so whoever was waiting holds the lock of a file that is no
// longer there: after locking, the path must still name the locked file, or the writer
// starts again on the new one. A file the writer may not replace (another owner's, one
// with a second hard link) is rewritten in place under the lock instead; readers take a
// shared lock for the moment of their read (see readProfileFile), so they see the old
// file or the new either way.
//
// A writer waits kLockWaitMs at most for the lock, a reader's included, then fails with
// EWOULDBLOCK: a writer stopped inside its lock (Ctrl-Z) must not stop every other writer,
// and with them a host's user-interface thread.
//
// No lock file exists. A missing file is created empty so there is something to lock: two
// writers creating one file then meet on the same lock instead of each renaming its own
// file into place. A file system without locks gets today's unserialised writes.

#include <string>

#include "platform/profile_file_system.h"

namespace zadeve::platform {

// How long a writer waits for another's lock, and a reader for a writer's.
inline constexpr int kLockWaitMs = 3000;

enum class CreateMissing : bool { No, Yes };

class ProfileHold {
 public:
  enum class State { Held, Missing, Failed };

  ProfileHold(FileSystem& fs, const std::string& path, CreateMissing create);
  ~ProfileHold();  // closing the descriptor releases the lock
  ProfileHold(const ProfileHold&) = delete;
  ProfileHold& operator=(const ProfileHold&) = delete;

  State state() const noexcept { return state_; }
  int fd() const noexcept { return fd_; }        // open for reading
  const std::string& target() const noexcept { return target_; }  // the file to replace
  bool locked() const noexcept { return locked_; }
  bool created() const noexcept { return created_; }
  // Why the hold failed: an errno value, EWOULDBLOCK when the lock stayed taken.
  int error() const noexcept { return error_; }

  // Removes the empty file created for the lock, when the write that needed it failed.
  void discardCreated();

 private:
  enum class Lock { Taken, Unsupported, Failed };
  Lock lock();
  bool stillNamed();
  void closeFile();

  FileSystem& fs_;
  State state_ = State::Failed;
  int fd_ = -1;
  std::string target_;
  bool locked_ = false;
  bool created_ = false;
  int error_ = 0;
};

}  // namespace zadeve::platform
