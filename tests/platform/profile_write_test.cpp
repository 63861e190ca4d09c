#include "platform/profile.h"

#include <gtest/gtest.h>

#include <fcntl.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile_file_system.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

using namespace std::string_view_literals;
namespace fs = std::filesystem;
using Text = std::optional<std::string_view>;

std::optional<std::string> contents(const std::string& path) {
  if (!fs::exists(path)) return std::nullopt;
  return support::TempDir::read(path);
}

long entries(const support::TempDir& dir) {
  return std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
}

// before/after of nullopt means "no file".
struct WriteCase {
  const char* name;
  Text before, section, key, value, after;
  bool result = true;
};

const WriteCase writeCases[] = {
    {"CreatesMissingFileWithCrlf", {}, "S", "k", "v", "[S]\r\nk=v\r\n"},
    {"AddsKeyAfterLastKeyBeforeBlanksAndComments", "[a]\nx=1\n\n; c\n[b]\ny=2\n", "a", "z", "3",
     "[a]\nx=1\nz=3\n\n; c\n[b]\ny=2\n"},
    {"FirstKeyGoesAfterHeader", "[a]\r\n; note\r\n[b]\r\n", "a", "k", "1", "[a]\r\nk=1\r\n; note\r\n[b]\r\n"},
    {"AppendsSectionWithTheFilesLineEnd", "[a]\nx=1\n", "b", "k", "v", "[a]\nx=1\n[b]\nk=v\n"},
    {"AppendsSectionWithLoneCr", "[a]\rx=1\r", "b", "k", "v", "[a]\rx=1\r[b]\rk=v\r"},
    // A lone CR before the blank line's LF would make one CRLF of them and lose that line.
    {"AddedLineKeepsTheBlankLineAfterIt", "[a]\rx=1\n\n; c\n", "a", "y", "2", "[a]\rx=1\ny=2\r\n\n; c\n"},
    {"EndsUnterminatedLineBeforeAddingKey", "[a]\nx=1", "a", "y", "2", "[a]\nx=1\ny=2\n"},
    {"EndsUnterminatedLineBeforeAddingSection", "[a]\r\nx=1", "b", "y", "2", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
    {"ReplacedValueKeepsPlaceAndSpelling", "[Sec]\r\n  Key = old  \r\nz=1\r\n", "sec", "KEY", "new",
     "[Sec]\r\n  Key = new\r\nz=1\r\n"},
    {"WritesEmptyValueAsKeyEquals", "[s]\n", "s", "k", "", "[s]\nk=\n"},
    {"WritesValuesVerbatim", "[s]\n", "s", "k", " a;b \"c\" ", "[s]\nk= a;b \"c\" \n"},
    {"SameValueLeavesEveryByte", "[s]\nk =  \"v\" \n", "s", "k", "\"v\"", "[s]\nk =  \"v\" \n"},
    {"WritesFirstOfDuplicates", "[s]\nk=1\nK=2\n[S]\nk=3\n", "S", "K", "9", "[s]\nk=9\nK=2\n[S]\nk=3\n"},
    {"NewKeySpelledAsCallerWroteIt", "[s]\nk=1\n", " S ", " NewKey\t", "2", "[s]\nk=1\nNewKey=2\n"},
    {"LineWithoutEqualsIsNotMatched", "[s]\nflag\n", "s", "flag", "1", "[s]\nflag=1\nflag\n"},
    {"CommentIsNotMatched", "[s]\n;k=1\n", "s", "k", "2", "[s]\nk=2\n;k=1\n"},
    {"KeysBeforeFirstHeaderUntouched", "k=1\n[s]\n", "s", "k", "2", "k=1\n[s]\nk=2\n"},
    {"KeepsBom", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2", "\xEF\xBB\xBF[s]\nk=2\n"},
    {"BomOnlyFile", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
    {"ValueEndsAtNul", "[s]\n", "s", "k", "a\0b"sv, "[s]\nk=a\n"},
    {"EmptyKeyNameFails", "[s]\n", "s", " ", "v", "[s]\n", false},
    {"NullSectionFailsAndCreatesNothing", {}, {}, "k", "v", {}, false},
    {"DeletesFirstOfDuplicateKeys", "[s]\r\na=1\r\nA=2\r\n", "S", "A", {}, "[s]\r\nA=2\r\n"},
    {"DeletesUnterminatedLastKey", "[s]\na=1\nb=2", "s", "b", {}, "[s]\na=1\n"},
    {"DeletingLastKeyLeavesHeader", "[s]\na=1\n", "s", "a", {}, "[s]\n"},
    {"DeletingMissingKeyChangesNothing", "[s]\na=1\n", "s", "b", {}, "[s]\na=1\n"},
    {"DeletingKeyOfMissingSectionChangesNothing", "[s]\na=1\n", "t", "a", {}, "[s]\na=1\n"},
    {"DeletingKeyOfMissingFileCreatesNothing", {}, "s", "a", {}, {}},
    {"DeletesSectionAndItsComments", "[a]\nx=1\n[b]\n;c\ny=2\n\n[c]\nz=3", "B", {}, {}, "[a]\nx=1\n[c]\nz=3"},
    {"DeletesLastSectionWhateverTheValue", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", "b", {}, "v", "[a]\r\nx=1\r\n"},
    {"DeletingMissingSectionChangesNothing", "[a]\nx=1\n", "b", {}, {}, "[a]\nx=1\n"},
    {"DeletingSectionOfMissingFileCreatesNothing", {}, "a", {}, {}, {}},
};

TEST(ProfileWrite, EditsOnlyTheLinesItChanges) {
  for (const WriteCase& c : writeCases) {
    SCOPED_TRACE(c.name);
    support::TempDir dir;
    const std::string path = c.before ? dir.write("b.ini", std::string(*c.before)) : dir.file("b.ini");
    EXPECT_EQ(writeProfileString(c.section, c.key, c.value, path), c.result);
    EXPECT_EQ(contents(path), c.after ? std::optional<std::string>(*c.after) : std::nullopt);
    EXPECT_EQ(entries(dir), c.after ? 1 : 0) << "a temporary file was left behind";
  }
}

TEST(ProfileWrite, DeletedSectionLetsTheNextDuplicateAnswerAndComesBackAtTheEnd) {
  support::TempDir dir;
  const std::string path = dir.write("b.ini", "[a]\nx=1\n[b]\ny=2\n[A]\nz=3\n");
  ASSERT_TRUE(writeProfileString("a", std::nullopt, std::nullopt, path));
  EXPECT_EQ(readProfileString("a", "x", "gone", path), "gone");
  EXPECT_EQ(readProfileString("a", "z", "gone", path), "3");
  ASSERT_TRUE(writeProfileString("A", std::nullopt, std::nullopt, path));
  ASSERT_TRUE(writeProfileString("a", "x", "4", path));
  EXPECT_EQ(contents(path), "[b]\ny=2\n[a]\nx=4\n");
}

// Read-only even for root, who could write the file regardless.
TEST(ProfileWrite, UnwritablePlacesRefuseChangesButAcceptWritesThatChangeNothing) {
  support::TempDir dir;
  const std::string ro = dir.write("ro.ini", "[s]\nk=1\n"), missing = dir.file("no/b.ini"), folder = dir.file("d");
  fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(folder);
  const struct {
    std::string path;
    Text key, value;
    bool result;
  } cases[] = {{ro, "k", "2", false},      {ro, "j", "2", false},      {ro, "k", {}, false},
               {ro, {}, {}, false},        {missing, "k", "2", false}, {folder, "k", "2", false},
               {"", "k", "2", false},      {ro, "k", "1", true},       {ro, "missing", {}, true},
               {missing, "k", {}, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(writeProfileString("s", c.key, c.value, c.path), c.result) << c.path << " " << c.key.value_or("-");
  }
  EXPECT_EQ(contents(ro), "[s]\nk=1\n");
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(entries(dir), 2);
}

TEST(ProfileWrite, ReplacesTheLinkTargetKeepingItsPermissions) {
  support::TempDir dir;
  const std::string target = dir.write("real.ini", "[s]\nk=1\n");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, mode);
  const std::string link = dir.file("link.ini");
  fs::create_symlink(target, link);
  ASSERT_TRUE(writeProfileString("s", "k", "2", link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "[s]\nk=2\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
  EXPECT_EQ(entries(dir), 2);
}

enum class Failure { ReadOriginal, Lock, CreateTemporary, Write, ShortWriteThenFull, Fsync, Close, Rename };

// The real file system with one call broken; installed for its lifetime.
struct FailingFileSystem : PosixFileSystem {
  explicit FailingFileSystem(Failure f) : failure(f) { setProfileFileSystem(this); }
  ~FailingFileSystem() override { setProfileFileSystem(nullptr); }
  static int fail(int error) { return errno = error, -1; }

  int open(const std::string& path, int flags, unsigned mode) override {
    const Failure broken = (flags & O_CREAT) ? Failure::CreateTemporary : Failure::ReadOriginal;
    // A create refused for want of permission would be written in place instead.
    const int error = broken == Failure::CreateTemporary ? EDQUOT : EACCES;
    return failure == broken && !(flags & O_DIRECTORY) ? fail(error) : PosixFileSystem::open(path, flags, mode);
  }
  std::ptrdiff_t write(int fd, const char* buffer, std::size_t count) override {
    const bool halve = failure == Failure::ShortWriteThenFull;
    if (failure == Failure::Write || (halve && wrote)) return fail(ENOSPC);
    wrote = true;
    return PosixFileSystem::write(fd, buffer, halve ? count / 2 : count);
  }
  int flock(int fd, int operation) override {
    return failure == Failure::Lock ? fail(EIO) : PosixFileSystem::flock(fd, operation);
  }
  int fsync(int fd) override { return failure == Failure::Fsync ? fail(EIO) : PosixFileSystem::fsync(fd); }
  int close(int fd) override {
    const int result = PosixFileSystem::close(fd);
    return failure == Failure::Close ? fail(EIO) : result;
  }
  int rename(const std::string& from, const std::string& to) override {
    return failure == Failure::Rename ? fail(EXDEV) : PosixFileSystem::rename(from, to);
  }
  Failure failure;
  bool wrote = false;
};

TEST(ProfileWriterFailure, EachFailingCallLeavesTheFileAsItWasAndNoTemporary) {
  const std::string before = "; settings\r\n[s]\r\nk=1\r\n\r\n[t]\r\nj=2\r\n";
  for (Failure failure : {Failure::ReadOriginal, Failure::Lock, Failure::CreateTemporary, Failure::Write,
                          Failure::ShortWriteThenFull, Failure::Fsync, Failure::Close, Failure::Rename}) {
    SCOPED_TRACE(static_cast<int>(failure));
    support::TempDir dir;
    const std::string path = dir.write("b.ini", before);
    {
      FailingFileSystem failing(failure);
      EXPECT_FALSE(writeProfileString("s", "k", std::string(10000, 'x'), path));
      if (failure != Failure::ReadOriginal) {
        EXPECT_FALSE(writeProfileString("s", "k", "v", dir.file("new.ini")));
      }
    }
    EXPECT_EQ(support::TempDir::read(path), before);
    EXPECT_EQ(entries(dir), 1);
    // Nothing is left half-done: the next write with a working file system succeeds.
    EXPECT_TRUE(writeProfileString("s", "k", "3", path));
    EXPECT_EQ(readProfileString("s", "k", "d", path), "3");
  }
}

}  // namespace
}  // namespace zadeve::platform
