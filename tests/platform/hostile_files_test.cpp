// Files as a hostile but ordinary user leaves them: a FIFO or a device where a file should
// be, another writer sitting on the lock, a full disk, a file shared with a group or under
// two names. Nothing may hang, nothing may be lost, and a refused write says why.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile.h"
#include "platform/profile_cache.h"
#include "platform/profile_file_system.h"
#include "platform/profile_lock.h"
#include "platform/profile_temporary.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A tiny file system of its own that fills up; empty when this process may not mount.
class TinyDisk {
 public:
  TinyDisk() {
    if (::geteuid() != 0 || ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, "size=64k") != 0) return;
    mounted_ = true;
  }
  ~TinyDisk() {
    if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  std::string file(const std::string& name) const { return dir_.file(name); }
  // Takes every block that is left.
  void fill() const {
    const int fd = ::open(file("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    std::string byte(1, 'f');
    while (::write(fd, byte.data(), 1) > 0) {
    }
    ::close(fd);
  }

 private:
  support::TempDir dir_;
  bool mounted_ = false;
};

// The real file system whose writes find the disk full: where no tmpfs can be mounted.
struct FullDisk : PosixFileSystem {
  FullDisk() { setProfileFileSystem(this); }
  ~FullDisk() override { setProfileFileSystem(nullptr); }
  std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) override {
    if (count > 16) return PosixFileSystem::write(fd, buffer, 16);
    return errno = ENOSPC, -1;
  }
};

TEST(HostileFiles, AFifoADeviceOrAFolderAsTheProfileAnswersAtOnceWithTheReason) {
  support::TempDir dir;
  const std::string fifo = dir.file("fifo.ini"), folder = dir.file("folder.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  fs::create_directory(folder);
  const struct {
    std::string path, reason;
  } cases[] = {{fifo, "not a regular file"}, {"/dev/null", "not a regular file"}, {folder, "Is a directory"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const auto start = Clock::now();
    EXPECT_EQ(readProfileString("s", "k", "default", c.path), "default");
    EXPECT_FALSE(writeProfileString("s", "k", "v", c.path));
    EXPECT_EQ(fileErrorText(lastProfileWriteError()), c.reason);
    FileStat stat;
    std::string bytes;
    EXPECT_NE(readRegularFile(systemFileSystem(), c.path, stat, bytes), 0);
    EXPECT_LT(secondsSince(start), 1.0);
  }
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
}

// Another process's lock, shared or exclusive, held by a writer stopped with Ctrl-Z: the
// write gives up after the bound, says so, and leaves the file as it was.
TEST(HostileFiles, AWriterFacingAHeldLockFailsWithinTheBoundAndTheFileIsUnchanged) {
  for (int lock : {LOCK_SH, LOCK_EX}) {
    SCOPED_TRACE(lock);
    support::TempDir dir;
    const std::string path = dir.write("b.ini", "[s]\nk=1\n");
    const int holder = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(holder, lock | LOCK_NB), 0);
    const auto start = Clock::now();
    EXPECT_FALSE(writeProfileString("s", "k", "2", path));
    const double waited = secondsSince(start);
    EXPECT_GE(waited, kLockWaitMs / 1000.0 - 0.1);
    EXPECT_LT(waited, kLockWaitMs / 1000.0 + 1.0);
    EXPECT_EQ(lastProfileWriteError(), EWOULDBLOCK);
    EXPECT_EQ(support::TempDir::read(path), "[s]\nk=1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    ::close(holder);
    EXPECT_TRUE(writeProfileString("s", "k", "2", path));
    EXPECT_EQ(support::TempDir::read(path), "[s]\nk=2\n");
  }
}

// A full disk: the old BARS.INI and the old output file stay byte for byte, no temporary
// is left, and the reason is the system's.
TEST(HostileFiles, AFullDiskLeavesTheOldFilesByteForByte) {
  TinyDisk disk;
  support::TempDir plain;
  auto file = [&](const std::string& name) { return disk.mounted() ? disk.file(name) : plain.file(name); };
  const std::string ini = file("b.ini"), png = file("out.png");
  const std::string iniBefore = "[s]\r\nk=1\r\n", pngBefore = "\x89PNG old picture";
  std::ofstream(ini, std::ios::binary) << iniBefore;
  std::ofstream(png, std::ios::binary) << pngBefore;
  std::optional<FullDisk> seam;
  if (disk.mounted()) disk.fill();
  else seam.emplace();

  EXPECT_FALSE(writeProfileString("s", "k", std::string(100000, 'x'), ini));
  EXPECT_EQ(fileErrorText(lastProfileWriteError()), "No space left on device");
  EXPECT_EQ(writeOutputFile(profileFileSystem(), png, std::string(100000, 'p')), ENOSPC);
  seam.reset();
  EXPECT_EQ(support::TempDir::read(ini), iniBefore);
  EXPECT_EQ(support::TempDir::read(png), pngBefore);
  for (const auto& entry : fs::directory_iterator(fs::path(ini).parent_path()))
    EXPECT_EQ(entry.path().filename().string().find(".zadeve-"), std::string::npos) << entry.path();
  if (!disk.mounted()) std::printf("no tmpfs could be mounted here: the full disk came from the file-system seam\n");
}

// Each refused write names its reason, whatever refused it.
TEST(HostileFiles, EachRefusedWriteNamesTheSystemsReason) {
  support::TempDir dir;
  const std::string readOnly = dir.write("ro.ini", "[s]\nk=1\n");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
  const struct {
    std::string path, reason;
  } cases[] = {
      {readOnly, "Permission denied"},
      {dir.file("missing/b.ini"), "No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_FALSE(writeProfileString("s", "k", "2", c.path));
    EXPECT_EQ(fileErrorText(lastProfileWriteError()), c.reason);
    EXPECT_EQ(fileErrorText(writeOutputFile(systemFileSystem(), c.path, "p")), c.reason) << "as an output file";
  }
  // A read-only mount refuses both, as the system says.
  TinyDisk disk;
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs could be mounted here for a read-only file system";
  std::ofstream(disk.file("b.ini")) << "[s]\nk=1\n";
  ASSERT_EQ(::mount("tmpfs", fs::path(disk.file("b.ini")).parent_path().c_str(), nullptr,
                    MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_FALSE(writeProfileString("s", "k", "2", disk.file("b.ini")));
  EXPECT_EQ(fileErrorText(lastProfileWriteError()), "Read-only file system");
  EXPECT_EQ(fileErrorText(writeOutputFile(systemFileSystem(), disk.file("out.png"), "p")), "Read-only file system");
}

// A file under two names stays one file: both see the write.
TEST(HostileFiles, AHardLinkedFileStaysShared) {
  support::TempDir dir;
  const std::string path = dir.write("b.ini", "[s]\r\nk=1\r\n"), other = dir.file("other.ini");
  fs::create_hard_link(path, other);
  EXPECT_TRUE(writeProfileString("s", "k", "2", path));
  EXPECT_TRUE(writeProfileString("s", "j", "3", other));
  EXPECT_EQ(support::TempDir::read(path), "[s]\r\nk=2\r\nj=3\r\n");
  EXPECT_EQ(fs::hard_link_count(path), 2u);
  EXPECT_TRUE(fs::equivalent(path, other));
  EXPECT_EQ(readProfileString("s", "j", "", path), "3");
}

// Runs `body` in a child as the user `name`, with the supplementary groups it has.
int runAs(const std::string& name, const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    const passwd* user = ::getpwnam(name.c_str());
    if (user == nullptr || ::initgroups(name.c_str(), user->pw_gid) != 0 || ::setgid(user->pw_gid) != 0 ||
        ::setuid(user->pw_uid) != 0)
      ::_exit(2);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// A member of the file's group writes BARS.INI: the file keeps its owner, group and mode,
// and its owner can still write it.
TEST(HostileFiles, AGroupMembersWriteKeepsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to create the two users of this test";
  const std::string shared = "zdvshare", owner = "zdvowner", member = "zdvmember";
  if (!run("getent group " + shared) && !run("groupadd " + shared))
    GTEST_SKIP() << "groupadd is not available here";
  for (const auto& user : {owner, member})
    if (!run("id " + user) && !run("useradd -M -N -G " + shared + " " + user))
      GTEST_SKIP() << "useradd is not available here";
  const passwd* ownerEntry = ::getpwnam(owner.c_str());
  const struct group* groupEntry = ::getgrnam(shared.c_str());
  ASSERT_NE(ownerEntry, nullptr);
  ASSERT_NE(groupEntry, nullptr);

  // The folder open to all, where the member could rename a new file into place, and the
  // folder closed to it, where it could not.
  for (const auto folderMode : {fs::perms::all, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                                    fs::perms::others_read | fs::perms::others_exec}) {
    support::TempDir dir;
    fs::permissions(dir.path(), folderMode);
    const std::string path = dir.write("b.ini", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chown(path.c_str(), ownerEntry->pw_uid, groupEntry->gr_gid), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);

    EXPECT_EQ(runAs(member, [&] { return writeProfileString("s", "k", "2", path); }), 0);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, ownerEntry->pw_uid);
    EXPECT_EQ(after.st_gid, groupEntry->gr_gid);
    EXPECT_EQ(after.st_mode & 07777, 0664u);
    EXPECT_EQ(runAs(owner, [&] { return writeProfileString("s", "j", "3", path); }), 0);
    EXPECT_EQ(support::TempDir::read(path), "[s]\r\nk=2\r\nj=3\r\n");
  }
}

}  // namespace
}  // namespace zadeve::platform
