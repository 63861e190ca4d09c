// Writers of one file in several processes: serialised on a lock of the file itself, never
// losing a key, and cleaning up after a writer that was killed.

#include "platform/profile_lock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/profile.h"
#include "platform/profile_cache.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;

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

std::string key(int writer, int n) { return "w" + std::to_string(writer) + "k" + std::to_string(n); }

TEST(ProfileWriters, TwoProcessesWritingOneFileAtOnceLoseNoKey) {
  constexpr int kKeys = 500;
  support::TempDir dir;
  const std::string path = dir.file("b.ini");  // missing: the two also race to create it
  int start[2];
  ASSERT_EQ(::pipe(start), 0);
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = ::fork();
    ASSERT_GE(writers[w], 0);
    if (writers[w] == 0) {
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
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find("\r\n", at);
    if (end == std::string::npos) return false;
    const std::string line = text.substr(at, end - at);
    const std::size_t eq = line.find('=');
    const bool header = line == "[s]" || line == "[t]";
    const bool numbered = eq != std::string::npos && eq > 1 && line[0] == 'k' && line.substr(eq + 1) == "v" + line.substr(1, eq - 1);
    const bool round = line.starts_with("round=") && line.size() > 6;
    if (!header && !numbered && !round) return false;
    at = end + 2;
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
  int next = 0, orphans = 0;
  for (int round = 0; round < 50; ++round) {
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
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
    int n;
    while (::read(report[0], &n, sizeof n) == sizeof n) {
      done.push_back(n);
      next = n + 1;
    }
    ::close(report[0]);

    if (fs::exists(path)) {
      EXPECT_TRUE(wellFormed(support::TempDir::read(path))) << "round " << round;
    } else {
      EXPECT_TRUE(done.empty());
    }
    for (int k : done) ASSERT_EQ(readProfileString("s", "k" + std::to_string(k), "", path), "v" + std::to_string(k));
    orphans += names(dir).size() > 1;
    ASSERT_TRUE(writeProfileString("t", "round", std::to_string(round), path));
    EXPECT_EQ(names(dir), std::set<std::string>{"b.ini"}) << "round " << round;
  }
  RecordProperty("temporaries_left_by_killed_writers", orphans);
}

// A temporary is removed only when it is of our scheme for this file, exactly, and the
// process its name gives is not ours and is gone.
TEST(ProfileWriters, TheNextWriterRemovesOnlyTemporariesOfWritersThatAreGone) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(reap(dead), 0);
  const pid_t live = ::fork();
  if (live == 0) {
    ::pause();
    ::_exit(0);
  }
  const std::string d = std::to_string(dead), l = std::to_string(live), self = std::to_string(::getpid());
  const std::set<std::string> removed = {".b.ini.zadeve-" + d + "-1.tmp", ".b.ini.zadeve-" + d + "-907.tmp"};
  const std::set<std::string> kept = {
      ".b.ini.zadeve-" + l + "-1.tmp",      ".b.ini.zadeve-" + self + "-1.tmp", ".b.ini.zadeve-0" + d + "-1.tmp",
      ".b.ini.zadeve-" + d + "-1.tmp~",     ".b.ini.zadeve-" + d + "-.tmp",     ".b.ini.zadeve-" + d + "-01.tmp",
      ".b.ini.zadeve-" + d + "-1x.tmp",     ".b.ini.zadeve-" + d + ".tmp",      ".b.ini.zadeve--" + d + "-1.tmp",
      ".b.ini.zadeve-99999999999-1.tmp",    ".c.ini.zadeve-" + d + "-1.tmp",    "b.ini.zadeve-" + d + "-1.tmp",
      ".b.ini.1733500000000000000.1.tmp",   ".B.INI.zadeve-" + d + "-1.tmp",    "b.ini"};
  support::TempDir dir;
  for (const auto& name : removed) dir.write(name, "x");
  for (const auto& name : kept) dir.write(name, "[s]\r\n");
  fs::create_directory(dir.file(".b.ini.zadeve-" + d + "-2.tmp"));  // not a file: unlink leaves it

  EXPECT_TRUE(writeProfileString("s", "k", "v", dir.file("b.ini")));
  std::set<std::string> left = kept;
  left.insert(".b.ini.zadeve-" + d + "-2.tmp");
  EXPECT_EQ(names(dir), left);
  EXPECT_EQ(support::TempDir::read(dir.file("b.ini")), "[s]\r\nk=v\r\n");
  ::kill(live, SIGKILL);
  reap(live);
}

// The real file system with locks as a file system without them would answer, or with
// another writer renaming its file into place while this one waits for the lock.
struct LockingFileSystem : PosixFileSystem {
  LockingFileSystem() { setProfileFileSystem(this); }
  ~LockingFileSystem() override { setProfileFileSystem(nullptr); }
  int flock(int fd, int operation) override {
    ++locks;
    if (unsupported) return errno = unsupported, -1;
    if (locks == 1 && replacement) {
      const std::string other = path + ".other";
      std::ofstream(other, std::ios::binary) << *replacement;
      PosixFileSystem::rename(other, path);
    }
    return PosixFileSystem::flock(fd, operation);
  }
  int unsupported = 0;
  std::optional<std::string> replacement;
  std::string path;
  int locks = 0;
};

TEST(ProfileWriters, WithoutLocksOnTheFileSystemWritesGoOnUnserialised) {
  for (int error : {ENOLCK, EOPNOTSUPP, ENOSYS}) {
    SCOPED_TRACE(error);
    support::TempDir dir;
    const std::string existing = dir.write("a.ini", "[s]\nk=1\n"), created = dir.file("b.ini");
    LockingFileSystem lockless;
    lockless.unsupported = error;
    EXPECT_TRUE(writeProfileString("s", "k", "2", existing));
    EXPECT_TRUE(writeProfileString("s", "k", "3", created));
    EXPECT_EQ(lockless.locks, 2);
    EXPECT_EQ(support::TempDir::read(existing), "[s]\nk=2\n");
    EXPECT_EQ(support::TempDir::read(created), "[s]\r\nk=3\r\n");
    EXPECT_EQ(names(dir), (std::set<std::string>{"a.ini", "b.ini"}));
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
    LockingFileSystem racing;
    racing.path = c.before ? dir.write("b.ini", *c.before) : dir.file("b.ini");
    racing.replacement = c.replacement;
    EXPECT_TRUE(writeProfileString("s", "c", "3", racing.path));
    EXPECT_EQ(racing.locks, 2) << "locked again after the file was replaced";
    EXPECT_EQ(support::TempDir::read(racing.path), c.after);
    EXPECT_EQ(names(dir), std::set<std::string>{"b.ini"});
  }
}

}  // namespace
}  // namespace zadeve::platform
