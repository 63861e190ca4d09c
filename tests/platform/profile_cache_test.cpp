#include "platform/profile_cache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/profile.h"

namespace zadeve::platform {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::path(testing::TempDir()) / "zadeve_profile_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }
  std::string put(std::string_view name, std::string_view bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }

 private:
  std::string path_;
};

// The real file system, watched: counts opens, can run its clock ahead, and can report
// frozen file times, as a file system with coarse timestamps would within one tick.
class WatchedFileSystem : public PosixFileSystem {
 public:
  int opens = 0;
  std::int64_t clockAheadNs = 0;
  std::optional<std::int64_t> frozenTimesNs;

  int open(const std::string& path, int flags, unsigned mode) override {
    ++opens;
    return PosixFileSystem::open(path, flags, mode);
  }
  int stat(const std::string& path, FileStat& out) override { return frozen(PosixFileSystem::stat(path, out), out); }
  int fstat(int fd, FileStat& out) override { return frozen(PosixFileSystem::fstat(fd, out), out); }
  std::int64_t nowNs() override { return PosixFileSystem::nowNs() + clockAheadNs; }

 private:
  int frozen(int result, FileStat& out) const {
    if (frozenTimesNs) out.modifiedNs = out.changedNs = *frozenTimesNs;
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
  std::string read(const std::string& path, std::string_view key = "k") {
    return readProfileString("s", key, "d", path);
  }

  WatchedFileSystem watched;
  TempFolder folder;
};

TEST_F(ProfileCacheTest, SeesSameSizeEditMadeRightAfterARead) {
  const std::string path = folder.put("b.ini", "[s]\nk=aaaa\n");
  ASSERT_EQ(read(path), "aaaa");
  folder.put("b.ini", "[s]\nk=bbbb\n");
  EXPECT_EQ(read(path), "bbbb");
}

TEST_F(ProfileCacheTest, SeesSameSizeEditThatLeavesStatUnchanged) {
  const std::string path = folder.put("b.ini", "[s]\nk=aaaa\n");
  watched.frozenTimesNs = watched.nowNs();
  ASSERT_EQ(read(path), "aaaa");
  {
    // Rewrite in place: same inode, same size, and (frozen) the same times.
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(6);
    out << "bbbb";
  }
  EXPECT_EQ(read(path), "bbbb");
}

TEST_F(ProfileCacheTest, RereadsAFreshFileOnEveryLookup) {
  const std::string path = folder.put("b.ini", "[s]\nk=v\n");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(read(path), "v");
  EXPECT_EQ(watched.opens, 3);
}

TEST_F(ProfileCacheTest, TrustsAFileOnceItIsSafelyOld) {
  const std::string path = folder.put("b.ini", "[s]\nk=v\nj=w\n");
  watched.clockAheadNs = 2 * ProfileCache::kRacyWindowNs;
  EXPECT_EQ(read(path), "v");
  EXPECT_EQ(read(path, "j"), "w");
  EXPECT_EQ(read(path, "missing"), "d");
  EXPECT_EQ(watched.opens, 1);
}

TEST_F(ProfileCacheTest, TrustedCacheStillSeesEditsThatChangeStat) {
  const std::string path = folder.put("b.ini", "[s]\nk=v\n");
  watched.clockAheadNs = 2 * ProfileCache::kRacyWindowNs;
  ASSERT_EQ(read(path), "v");
  folder.put("b.ini", "[s]\nk=longer\n");
  EXPECT_EQ(read(path), "longer");

  // Replaced by rename: a new inode, even with the same size.
  const std::string other = folder.put("other.ini", "[s]\nk=second\n");
  ASSERT_EQ(read(path), "longer");
  fs::rename(other, path);
  EXPECT_EQ(read(path), "second");

  fs::remove(path);
  EXPECT_EQ(read(path), "d");
}

TEST_F(ProfileCacheTest, OwnWriteIsSeenByTheNextRead) {
  const std::string path = folder.put("b.ini", "[s]\nk=aaaa\n");
  watched.clockAheadNs = 2 * ProfileCache::kRacyWindowNs;
  ASSERT_EQ(read(path), "aaaa");
  ASSERT_TRUE(writeProfileString("s", "k", "bbbb", path));
  EXPECT_EQ(read(path), "bbbb");
}

}  // namespace
}  // namespace zadeve::platform
