#include "platform/profile_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;

// The real file system, watched: counts opens, can run its clock ahead, and can report
// frozen file times, as a file system with coarse timestamps would within one tick.
struct WatchedFileSystem : PosixFileSystem {
  int opens = 0;
  int stats = 0;
  std::int64_t clockAheadNs = 0;
  std::optional<std::int64_t> frozenNs;

  int open(const std::string& path, int flags, unsigned mode) override {
    ++opens;
    return PosixFileSystem::open(path, flags, mode);
  }
  int stat(const std::string& path, FileStat& out) override {
    ++stats;
    return freeze(PosixFileSystem::stat(path, out), out);
  }
  int fstat(int fd, FileStat& out) override { return freeze(PosixFileSystem::fstat(fd, out), out); }
  std::int64_t nowNs() override { return PosixFileSystem::nowNs() + clockAheadNs; }
  int freeze(int result, FileStat& out) const {
    if (frozenNs) out.modifiedNs = out.changedNs = *frozenNs;
    return result;
  }
};

class ProfileCacheTest : public testing::Test {
 protected:
  ProfileCacheTest() {
    ProfileCache::instance().clear();
    setProfileFileSystem(&watched);
  }
  ~ProfileCacheTest() override {
    setProfileFileSystem(nullptr);
    ProfileCache::instance().clear();
  }
  std::string read(std::string_view key = "k") { return readProfileString("s", key, "d", path); }

  WatchedFileSystem watched;
  support::TempDir dir;
  std::string path = dir.file("b.ini");
};

// Same inode, same size and (frozen) the same times: only the bytes tell the edit apart.
TEST_F(ProfileCacheTest, SeesSameSizeEditThatLeavesStatUnchanged) {
  dir.write("b.ini", "[s]\nk=aaaa\n");
  watched.frozenNs = watched.nowNs();
  ASSERT_EQ(read(), "aaaa");
  {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(6);
    out << "bbbb";
  }
  EXPECT_EQ(read(), "bbbb");
}

TEST_F(ProfileCacheTest, TrustsAFileOnceItIsSafelyOldUntilItsStatChanges) {
  dir.write("b.ini", "[s]\nk=v\nj=w\n");
  watched.clockAheadNs = 2 * ProfileCache::kRacyWindowNs;
  EXPECT_EQ(read(), "v");
  EXPECT_EQ(read("j"), "w");
  EXPECT_EQ(read("missing"), "d");
  EXPECT_EQ(watched.opens, 1);

  dir.write("b.ini", "[s]\nk=longer\n");
  EXPECT_EQ(read(), "longer");

  // Replaced by rename: a new inode, even with the same size.
  const std::string other = dir.write("other.ini", "[s]\nk=second\n");
  ASSERT_EQ(read(), "longer");
  fs::rename(other, path);
  EXPECT_EQ(read(), "second");

  ASSERT_TRUE(writeProfileString("s", "k", "thirds", path));
  EXPECT_EQ(read(), "thirds");

  fs::remove(path);
  EXPECT_EQ(read(), "d");
}

// One call of the library: the file is checked at its first read only; an edit behind the
// library's back waits for the next call, while the library's own writes (under any
// spelling of the path) are seen at once.
TEST_F(ProfileCacheTest, InsideACallTheFileIsCheckedOnceAndOwnWritesAreSeenAtOnce) {
  dir.write("b.ini", "[s]\nk=v\n");
  {
    ProfileCallScope call;
    EXPECT_EQ(read(), "v");
    const int stats = watched.stats, opens = watched.opens;
    dir.write("b.ini", "[s]\nk=edited\n");
    {
      ProfileCallScope nested;
      EXPECT_EQ(read(), "v");
    }
    EXPECT_EQ(read(), "v");
    EXPECT_EQ(read("missing"), "d");
    EXPECT_EQ(watched.stats - stats, 0);
    EXPECT_EQ(watched.opens - opens, 0);

    ASSERT_TRUE(writeProfileString("s", "j", "w", path));  // edits the file as it is now
    EXPECT_EQ(read(), "edited");
    EXPECT_EQ(read("j"), "w");
    ASSERT_TRUE(writeProfileString("s", "k", "again", dir.file("./b.ini")));
    EXPECT_EQ(read(), "again");
    dir.write("b.ini", "[s]\nk=late\n");
    EXPECT_EQ(read(), "again");
    ASSERT_TRUE(writeProfileString("s", "k", "late", path));  // changes nothing: it is there
    EXPECT_EQ(read(), "late");
    dir.write("b.ini", "[s]\nk=later\n");
    EXPECT_EQ(read(), "late");
  }
  EXPECT_EQ(read(), "later");
  {
    ProfileCallScope next;
    EXPECT_EQ(read(), "later");
    fs::remove(path);
    ASSERT_TRUE(writeProfileString("s", "k", std::nullopt, path));  // nothing there to delete
    EXPECT_EQ(read(), "d");
  }
}

}  // namespace
}  // namespace zadeve::platform
