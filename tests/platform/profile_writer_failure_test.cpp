#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/profile.h"
#include "platform/profile_file_system.h"

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
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(path_), fs::directory_iterator()));
  }

 private:
  std::string path_;
};

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

enum class Failure { ReadOriginal, CreateTemporary, Write, ShortWriteThenFull, Fsync, Close, Rename };

// The real file system with one call broken.
class FailingFileSystem : public PosixFileSystem {
 public:
  explicit FailingFileSystem(Failure failure) : failure_(failure) {}

  int open(const std::string& path, int flags, unsigned mode) override {
    const bool creating = (flags & O_CREAT) != 0;
    if ((failure_ == Failure::CreateTemporary && creating) ||
        (failure_ == Failure::ReadOriginal && !creating && (flags & O_DIRECTORY) == 0)) {
      return fail(failure_ == Failure::ReadOriginal ? EACCES : ENOSPC);
    }
    return PosixFileSystem::open(path, flags, mode);
  }
  std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) override {
    if (failure_ == Failure::Write) return fail(EIO);
    if (failure_ == Failure::ShortWriteThenFull) {
      if (wrote_) return fail(ENOSPC);
      wrote_ = true;
      return PosixFileSystem::write(fd, buffer, count / 2);
    }
    return PosixFileSystem::write(fd, buffer, count);
  }
  int fsync(int fd) override { return failure_ == Failure::Fsync ? fail(EIO) : PosixFileSystem::fsync(fd); }
  int close(int fd) override {
    const int result = PosixFileSystem::close(fd);
    return failure_ == Failure::Close ? fail(EIO) : result;
  }
  int rename(const std::string& from, const std::string& to) override {
    return failure_ == Failure::Rename ? fail(EXDEV) : PosixFileSystem::rename(from, to);
  }

 private:
  static int fail(int error) {
    errno = error;
    return -1;
  }
  Failure failure_;
  bool wrote_ = false;
};

class SeamInstalled {
 public:
  explicit SeamInstalled(FileSystem& fs) { setProfileFileSystem(&fs); }
  ~SeamInstalled() { setProfileFileSystem(nullptr); }
};

class ProfileWriterFailure : public testing::TestWithParam<Failure> {};

TEST_P(ProfileWriterFailure, LeavesTheOriginalFileAndNoTemporary) {
  TempFolder folder;
  const std::string before = "; settings\r\n[s]\r\nk=1\r\n\r\n[t]\r\nj=2\r\n";
  const std::string path = folder.put("b.ini", before);
  FailingFileSystem failing(GetParam());
  {
    SeamInstalled seam(failing);
    EXPECT_FALSE(writeProfileString("s", "k", std::string(10000, 'x'), path));
    EXPECT_FALSE(writeProfileString("s", "new", "v", path));
    EXPECT_FALSE(writeProfileString("t", std::nullopt, std::nullopt, path));
  }
  EXPECT_EQ(contents(path), before);
  EXPECT_EQ(folder.entries(), 1u);
  EXPECT_EQ(readProfileString("s", "k", "d", path), "1");
  // Nothing is left half-done: the next write with a working file system succeeds.
  EXPECT_TRUE(writeProfileString("s", "k", "3", path));
  EXPECT_EQ(contents(path), "; settings\r\n[s]\r\nk=3\r\n\r\n[t]\r\nj=2\r\n");
}

class ProfileWriterCreateFailure : public ProfileWriterFailure {};

TEST_P(ProfileWriterCreateFailure, CreatesNoFile) {
  TempFolder folder;
  FailingFileSystem failing(GetParam());
  SeamInstalled seam(failing);
  EXPECT_FALSE(writeProfileString("s", "k", "v", folder.file("new.ini")));
  EXPECT_EQ(folder.entries(), 0u);
}

std::string failureName(const testing::TestParamInfo<Failure>& info) {
  constexpr const char* names[] = {"ReadOriginal", "CreateTemporary", "Write", "ShortWriteThenFull",
                                   "Fsync", "Close", "Rename"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EachCall, ProfileWriterFailure,
                         testing::Values(Failure::ReadOriginal, Failure::CreateTemporary, Failure::Write,
                                         Failure::ShortWriteThenFull, Failure::Fsync, Failure::Close,
                                         Failure::Rename),
                         failureName);
INSTANTIATE_TEST_SUITE_P(EachCall, ProfileWriterCreateFailure,
                         testing::Values(Failure::CreateTemporary, Failure::Write, Failure::ShortWriteThenFull,
                                         Failure::Fsync, Failure::Close, Failure::Rename),
                         failureName);

TEST(ProfileWriterFailure, WriteThatChangesNothingCreatesNoTemporary) {
  TempFolder folder;
  const std::string path = folder.put("b.ini", "[s]\nk=1\n");
  FailingFileSystem failing(Failure::CreateTemporary);
  SeamInstalled seam(failing);
  EXPECT_TRUE(writeProfileString("s", "k", "1", path));
  EXPECT_TRUE(writeProfileString("s", "gone", std::nullopt, path));
}

}  // namespace
}  // namespace zadeve::platform
