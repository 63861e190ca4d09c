// Writers in several processes, serialised on the file's lock, and files as a hostile but
// ordinary user leaves them: nothing may hang or be lost, and a refused write says why.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include <grp.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile.h"
#include "platform/profile_lock.h"
#include "platform/profile_temporary.h"
#include "support/profile_seam.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Text = std::optional<std::string_view>;

std::set<std::string> names(const support::TempDir& dir) {
  std::set<std::string> out;
  for (const auto& entry : fs::directory_iterator(dir.path())) out.insert(entry.path().filename().string());
  return out;
}

// Waits for a child and returns its exit status, or -1 when a signal ended it.
int reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST(ProfileWriters, TwoProcessesWritingOneFileAtOnceLoseNoKey) {
  constexpr int kKeys = 500;
  support::TempDir dir;
  const std::string path = dir.file("b.ini");  // missing: the two also race to create it
  auto key = [](int writer, int n) { return "w" + std::to_string(writer) + "k" + std::to_string(n); };
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    if ((writers[w] = ::fork()) == 0) {
      ::close(start[1]);
      char go;
      if (::read(start[0], &go, 1) != 0) ::_exit(3);  // both start when the pipe closes
      for (int n = 0; n < kKeys; ++n)
        if (!writeProfileString("s", key(w, n), std::to_string(n), path)) ::_exit(1);
      ::_exit(0);
    }
  }
  ::close(start[0]);
  ::close(start[1]);
  for (pid_t writer : writers) EXPECT_EQ(reap(writer), 0) << "a write reported failure";
  int missing = 0;
  for (int w = 0; w < 2; ++w)
    for (int n = 0; n < kKeys; ++n) missing += readProfileString("s", key(w, n), "", path) != std::to_string(n);
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(names(dir), std::set<std::string>{"b.ini"});
}

// Every line is one a writer wrote whole: a header, "k<n>=v<n>" or "round=<n>".
bool wellFormed(const std::string& text) {
  for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
    if ((end = text.find("\r\n", at)) == std::string::npos) return false;
    const std::string line = text.substr(at, end - at);
    const std::size_t eq = line.find('=');
    const bool numbered =
        eq != std::string::npos && eq > 1 && line[0] == 'k' && line.substr(eq + 1) == "v" + line.substr(1, eq - 1);
    if (line != "[s]" && line != "[t]" && !numbered && !(line.starts_with("round=") && line.size() > 6)) return false;
  }
  return true;
}

TEST(ProfileWriters, AWriterKilledAnywhereLosesNothingAndItsTemporaryGoesWithTheNextWrite) {
  support::TempDir dir;
  const std::string path = dir.file("b.ini");
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::vector<int> done;  // keys a killed writer reported written
  int next = 0;
  for (int round = 0; round < 50; ++round) {
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
      ::close(report[0]);
      for (int n = next;; ++n) {
        if (!writeProfileString("s", "k" + std::to_string(n), "v" + std::to_string(n), path)) ::_exit(1);
        if (::write(report[1], &n, sizeof n) != sizeof n) ::_exit(2);
      }
    }
    ::close(report[1]);
    ::usleep(std::uniform_int_distribution<unsigned>(0, 4000)(random));
    ::kill(writer, SIGKILL);
    EXPECT_EQ(reap(writer), -1) << "the writer stopped by itself";
    for (int n; ::read(report[0], &n, sizeof n) == sizeof n; next = n + 1) done.push_back(n);
    ::close(report[0]);
    if (fs::exists(path)) {
      EXPECT_TRUE(wellFormed(support::TempDir::read(path))) << "round " << round;
    } else {
      EXPECT_TRUE(done.empty());
    }
    for (int k : done) ASSERT_EQ(readProfileString("s", "k" + std::to_string(k), "", path), "v" + std::to_string(k));
    ASSERT_TRUE(writeProfileString("t", "round", std::to_string(round), path));
    EXPECT_EQ(names(dir), std::set<std::string>{"b.ini"}) << "round " << round;
  }
}

// A temporary is removed only when it is of our scheme for this file, exactly, and the
// process its name gives is not ours and is gone.
TEST(ProfileWriters, TheNextWriterRemovesOnlyTemporariesOfWritersThatAreGone) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(reap(dead), 0);
  const pid_t live = ::fork();
  if (live == 0) ::pause(), ::_exit(0);
  const std::string d = ".b.ini.zadeve-" + std::to_string(dead), l = std::to_string(live);
  const std::string self = std::to_string(::getpid()), bare = std::to_string(dead);
  const std::set<std::string> removed = {d + "-1.tmp", d + "-907.tmp"};
  const std::set<std::string> kept = {
      ".b.ini.zadeve-" + l + "-1.tmp", ".b.ini.zadeve-" + self + "-1.tmp", ".b.ini.zadeve-0" + bare + "-1.tmp",
      d + "-1.tmp~", d + "-.tmp", d + "-01.tmp", d + "-1x.tmp", d + ".tmp", ".b.ini.zadeve--" + bare + "-1.tmp",
      ".b.ini.zadeve-99999999999-1.tmp", ".c.ini.zadeve-" + bare + "-1.tmp", "b.ini.zadeve-" + bare + "-1.tmp",
      ".b.ini.1733500000000000000.1.tmp", ".B.INI.zadeve-" + bare + "-1.tmp", "b.ini"};
  support::TempDir dir;
  for (const auto& name : removed) dir.write(name, "x");
  for (const auto& name : kept) dir.write(name, "[s]\r\n");
  fs::create_directory(dir.file(d + "-2.tmp"));  // not a file: unlink leaves it
  EXPECT_TRUE(writeProfileString("s", "k", "v", dir.file("b.ini")));
  std::set<std::string> left = kept;
  left.insert(d + "-2.tmp");
  EXPECT_EQ(names(dir), left);
  EXPECT_EQ(support::TempDir::read(dir.file("b.ini")), "[s]\r\nk=v\r\n");
  ::kill(live, SIGKILL);
  reap(live);
}

TEST(ProfileWriters, WithoutLocksOnTheFileSystemWritesGoOnUnserialised) {
  for (int error : {ENOLCK, EOPNOTSUPP, ENOSYS}) {
    SCOPED_TRACE(error);
    support::TempDir dir;
    const std::string existing = dir.write("a.ini", "[s]\nk=1\n"), created = dir.file("b.ini");
    SeamFileSystem lockless;
    lockless.lockError = error;
    EXPECT_TRUE(writeProfileString("s", "k", "2", existing));
    EXPECT_TRUE(writeProfileString("s", "k", "3", created));
    EXPECT_EQ(lockless.locks, 2);
    EXPECT_EQ(support::TempDir::read(existing) + support::TempDir::read(created), "[s]\nk=2\n[s]\r\nk=3\r\n");
    EXPECT_EQ(entries(dir), 2);
  }
}

// The writer that held the lock first renamed its own file into place: the waiting writer
// must edit that one, or the first writer's key is lost.
TEST(ProfileWriters, AWriterThatWaitedEditsTheFileNowInPlace) {
  const struct {
    std::optional<std::string> before;
    std::string replacement, after;
  } cases[] = {
      {"[s]\na=1\n", "[s]\na=1\nb=2\n", "[s]\na=1\nb=2\nc=3\n"},
      {std::nullopt, "[s]\r\nb=2\r\n", "[s]\r\nb=2\r\nc=3\r\n"},  // both were creating it
  };
  for (const auto& c : cases) {
    support::TempDir dir;
    SeamFileSystem racing;
    racing.path = c.before ? dir.write("b.ini", *c.before) : dir.file("b.ini");
    racing.replacement = c.replacement;
    EXPECT_TRUE(writeProfileString("s", "c", "3", racing.path));
    EXPECT_EQ(racing.locks, 2) << "locked again after the file was replaced";
    EXPECT_EQ(support::TempDir::read(racing.path), c.after);
    EXPECT_EQ(names(dir), std::set<std::string>{"b.ini"});
  }
}

// A tiny file system of its own that fills up; not mounted when this process may not mount.
struct TinyDisk {
  TinyDisk() { mounted = ::geteuid() == 0 && ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=64k") == 0; }
  ~TinyDisk() {
    if (mounted) ::umount2(dir.path().c_str(), MNT_DETACH);
  }
  support::TempDir dir;
  bool mounted;
};

// Read-only even for root, who could write the file regardless. Writes that change nothing
// are accepted; a FIFO or a device answers at once, read or written.
TEST(HostileFiles, EachRefusedWriteNamesTheSystemsReasonAndChangesNothing) {
  support::TempDir dir;
  const std::string ro = dir.write("ro.ini", "[s]\nk=1\n"), missing = dir.file("no/b.ini"), folder = dir.file("d");
  const std::string fifo = dir.file("fifo.ini");
  fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(folder);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const std::string denied = "Permission denied", irregular = "not a regular file";
  const struct {
    std::string path;
    Text key, value;
    const char* reason;  // nullptr: written
  } cases[] = {{ro, "k", "2", denied.c_str()},   {ro, "j", "2", denied.c_str()},
               {ro, "k", {}, denied.c_str()},    {ro, {}, {}, denied.c_str()},
               {missing, "k", "2", "No such file or directory"},
               {folder, "k", "2", "Is a directory"},
               {fifo, "k", "2", irregular.c_str()}, {"/dev/null", "k", "2", irregular.c_str()},
               {"", "k", "2", ""},                {ro, "k", "1", nullptr},
               {ro, "missing", {}, nullptr},      {missing, "k", {}, nullptr}};
  const auto start = Clock::now();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path + " " + std::string(c.key.value_or("-")));
    EXPECT_EQ(writeProfileString("s", c.key, c.value, c.path), c.reason == nullptr);
    if (c.reason == nullptr) {
      EXPECT_EQ(lastProfileWriteError(), 0);
    } else if (*c.reason) {
      EXPECT_EQ(fileErrorText(lastProfileWriteError()), c.reason);
    }
  }
  for (const std::string& path : {ro, missing})
    EXPECT_EQ(writeOutputFile(systemFileSystem(), path, "p"), path == ro ? EACCES : ENOENT) << "as an output file";
  for (const std::string& path : {fifo, std::string("/dev/null"), folder}) {
    EXPECT_EQ(readProfileString("s", "k", "default", path), "default");
    FileStat stat;
    std::string bytes;
    EXPECT_NE(readRegularFile(systemFileSystem(), path, stat, bytes), 0);
  }
  EXPECT_LT(secondsSince(start), 1.0);
  EXPECT_EQ(support::TempDir::read(ro), "[s]\nk=1\n");
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(entries(dir), 3);

  // A read-only mount refuses both, as the system says.
  TinyDisk disk;
  if (!disk.mounted) GTEST_SKIP() << "no tmpfs could be mounted here for a read-only file system";
  const std::string ini = disk.dir.write("b.ini", "[s]\nk=1\n");
  ASSERT_EQ(::mount("tmpfs", disk.dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
  EXPECT_FALSE(writeProfileString("s", "k", "2", ini));
  EXPECT_EQ(fileErrorText(lastProfileWriteError()), "Read-only file system");
  EXPECT_EQ(fileErrorText(writeOutputFile(systemFileSystem(), disk.dir.file("out.png"), "p")), "Read-only file system");
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
    EXPECT_NEAR(secondsSince(start), kLockWaitMs / 1000.0 + 0.45, 0.55);
    EXPECT_EQ(lastProfileWriteError(), EWOULDBLOCK);
    EXPECT_EQ(support::TempDir::read(path), "[s]\nk=1\n");
    EXPECT_EQ(entries(dir), 1);
    ::close(holder);
    EXPECT_TRUE(writeProfileString("s", "k", "2", path));
    EXPECT_EQ(support::TempDir::read(path), "[s]\nk=2\n");
  }
}

// A full disk: the old BARS.INI and the old output file stay byte for byte, no temporary
// is left, and the reason is the system's.
TEST(HostileFiles, AFullDiskLeavesTheOldFilesByteForByte) {
  TinyDisk disk;
  const std::string ini = disk.dir.write("b.ini", "[s]\r\nk=1\r\n"), png = disk.dir.write("out.png", "\x89PNG old");
  std::optional<SeamFileSystem> seam;  // where no tmpfs can be mounted, the seam fills the disk
  if (disk.mounted) {
    std::ofstream filler(disk.dir.file("filler"), std::ios::binary);
    for (int i = 0; i < 64 * 1024 && filler.put('f'); ++i) filler.flush();
  } else {
    seam.emplace().failure = Failure::ShortWriteThenFull;
  }
  EXPECT_FALSE(writeProfileString("s", "k", std::string(100000, 'x'), ini));
  EXPECT_EQ(fileErrorText(lastProfileWriteError()), "No space left on device");
  EXPECT_EQ(writeOutputFile(profileFileSystem(), png, std::string(100000, 'p')), ENOSPC);
  seam.reset();
  EXPECT_EQ(support::TempDir::read(ini) + support::TempDir::read(png), "[s]\r\nk=1\r\n\x89PNG old");
  for (const auto& entry : fs::directory_iterator(disk.dir.path()))
    EXPECT_EQ(entry.path().filename().string().find(".zadeve-"), std::string::npos) << entry.path();
}

// A file under two names stays one file: both see the write.
TEST(HostileFiles, AHardLinkedFileStaysShared) {
  support::TempDir dir;
  const std::string path = dir.write("b.ini", "[s]\r\nk=1\r\n"), other = dir.file("other.ini");
  fs::create_hard_link(path, other);
  EXPECT_TRUE(writeProfileString("s", "k", "2", path));
  EXPECT_TRUE(writeProfileString("s", "j", "3", other));
  EXPECT_EQ(support::TempDir::read(path), "[s]\r\nk=2\r\nj=3\r\n");
  EXPECT_TRUE(fs::equivalent(path, other));
  EXPECT_EQ(readProfileString("s", "j", "", path), "3");
}

// Runs `body` in a child as the user `uid`, whose only groups are `gid` and `group`.
int runAs(uid_t uid, gid_t gid, gid_t group, const std::function<bool()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    const gid_t groups[] = {gid, group};
    ::_exit(::setgroups(2, groups) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0 && body() ? 0 : 1);
  }
  return reap(child);
}

// A member of the file's group writes BARS.INI: the file keeps its owner, group and mode,
// and its owner can still write it; in a folder open to the member, where it could rename
// a new file into place, and in one closed to it.
TEST(HostileFiles, AGroupMembersWriteKeepsOwnerGroupAndMode) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
  const uid_t owner = 4242, member = 4444;
  const gid_t shared = 4343;
  for (const auto folderMode : {fs::perms::all, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                                    fs::perms::others_read | fs::perms::others_exec}) {
    support::TempDir dir;
    fs::permissions(dir.path(), folderMode);
    const std::string path = dir.write("b.ini", "[s]\r\nk=1\r\n");
    ASSERT_EQ(::chown(path.c_str(), owner, shared), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
    EXPECT_EQ(runAs(member, member, shared, [&] { return writeProfileString("s", "k", "2", path); }), 0);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(std::tuple(after.st_uid, after.st_gid, after.st_mode & 07777), std::tuple(owner, shared, 0664u));
    EXPECT_EQ(runAs(owner, owner, owner, [&] { return writeProfileString("s", "j", "3", path); }), 0);
    EXPECT_EQ(support::TempDir::read(path), "[s]\r\nk=2\r\nj=3\r\n");
  }
}

}  // namespace
}  // namespace zadeve::platform
