#include "platform/profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace zadeve::platform {
namespace {

using namespace std::string_view_literals;
namespace fs = std::filesystem;
using Text = std::optional<std::string_view>;

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::path(testing::TempDir()) / "zadeve_profile_XXXXXX").string();
    path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
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

std::optional<std::string> contents(const std::string& path) {
  if (!fs::exists(path)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// before/after of nullopt means "no file".
struct WriteCase {
  const char* name;
  Text before;
  Text section;
  Text key;
  Text value;
  Text after;
  bool result = true;
};

const WriteCase writeCases[] = {
    {"CreatesMissingFileWithCrlf", {}, "S", "k", "v", "[S]\r\nk=v\r\n"},
    {"AddsKeyAfterLastKeyBeforeBlanksAndComments", "[a]\nx=1\n\n; c\n[b]\ny=2\n", "a", "z", "3",
     "[a]\nx=1\nz=3\n\n; c\n[b]\ny=2\n"},
    {"AddsFirstKeyRightAfterHeader", "[a]\r\n; note\r\n[b]\r\n", "a", "k", "1",
     "[a]\r\nk=1\r\n; note\r\n[b]\r\n"},
    {"AppendsSectionWithTheFilesLineEnd", "[a]\nx=1\n", "b", "k", "v", "[a]\nx=1\n[b]\nk=v\n"},
    {"AppendsSectionWithLoneCr", "[a]\rx=1\r", "b", "k", "v", "[a]\rx=1\r[b]\rk=v\r"},
    {"EndsUnterminatedLastLineBeforeAddingKey", "[a]\nx=1", "a", "y", "2", "[a]\nx=1\ny=2\n"},
    {"EndsUnterminatedLastLineBeforeAddingSection", "[a]\r\nx=1", "b", "y", "2",
     "[a]\r\nx=1\r\n[b]\r\ny=2\r\n"},
    {"AddsKeyUnderUnterminatedHeader", "[a]", "a", "k", "v", "[a]\r\nk=v\r\n"},
    {"ReplacesValueKeepingPositionSpellingAndSpacing", "[Sec]\r\n  Key = old  \r\nz=1\r\n", "sec",
     "KEY", "new", "[Sec]\r\n  Key = new\r\nz=1\r\n"},
    {"ReplacesWithEmptyValue", "[s]\nk = v\nj=1", "s", "k", "", "[s]\nk =\nj=1"},
    {"WritesEmptyValueAsKeyEquals", "[s]\n", "s", "k", "", "[s]\nk=\n"},
    {"WritesValuesVerbatim", "[s]\n", "s", "k", " a;b \"c\" ", "[s]\nk= a;b \"c\" \n"},
    {"SameValueLeavesSpacingAndQuotes", "[s]\nk =  \"v\" \n", "s", "k", "\"v\"", "[s]\nk =  \"v\" \n"},
    {"WritesFirstOfDuplicates", "[s]\nk=1\nK=2\n[S]\nk=3\n", "S", "K", "9",
     "[s]\nk=9\nK=2\n[S]\nk=3\n"},
    {"NewKeySpelledAsCallerWroteIt", "[s]\nk=1\n", " S ", " NewKey\t", "2", "[s]\nk=1\nNewKey=2\n"},
    {"LineWithoutEqualsIsNotMatched", "[s]\nflag\n", "s", "flag", "1", "[s]\nflag=1\nflag\n"},
    {"CommentIsNotMatched", "[s]\n;k=1\n", "s", "k", "2", "[s]\nk=2\n;k=1\n"},
    {"KeysBeforeFirstHeaderUntouched", "k=1\n[s]\n", "s", "k", "2", "k=1\n[s]\nk=2\n"},
    {"HeaderWithTrailingText", "[v] ; c\nk=1\n", "v", "k", "2", "[v] ; c\nk=2\n"},
    {"KeepsBom", "\xEF\xBB\xBF[s]\nk=1\n", "s", "k", "2", "\xEF\xBB\xBF[s]\nk=2\n"},
    {"BomOnlyFile", "\xEF\xBB\xBF", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
    {"ValueEndsAtNul", "[s]\n", "s", "k", "a\0b"sv, "[s]\nk=a\n"},
    {"EmptyKeyNameFails", "[s]\n", "s", " ", "v", "[s]\n", false},
    {"NullSectionFails", "[s]\nk=1\n", {}, "k", "v", "[s]\nk=1\n", false},
    {"NullSectionCreatesNothing", {}, {}, "k", "v", {}, false},
    {"DeletesKeyLine", "[s]\r\na=1\r\nb=2\r\n", "S", "A", {}, "[s]\r\nb=2\r\n"},
    {"DeletesUnterminatedLastKey", "[s]\na=1\nb=2", "s", "b", {}, "[s]\na=1\n"},
    {"DeletingLastKeyLeavesHeader", "[s]\na=1\n", "s", "a", {}, "[s]\n"},
    {"DeletesFirstOfDuplicateKeys", "[s]\na=1\na=2\n", "s", "a", {}, "[s]\na=2\n"},
    {"DeletingMissingKeyChangesNothing", "[s]\na=1\n", "s", "b", {}, "[s]\na=1\n"},
    {"DeletingKeyOfMissingSectionChangesNothing", "[s]\na=1\n", "t", "a", {}, "[s]\na=1\n"},
    {"DeletingKeyOfMissingFileCreatesNothing", {}, "s", "a", {}, {}},
    {"DeletesSectionWithCommentsAndBlanks", "[a]\nx=1\n[b]\n;c\ny=2\n\n[c]\nz=3", "B", {}, {},
     "[a]\nx=1\n[c]\nz=3"},
    {"DeletesLastSection", "[a]\r\nx=1\r\n[b]\r\ny=2\r\n", "b", {}, {}, "[a]\r\nx=1\r\n"},
    {"DeletesSectionWhateverTheValue", "[a]\nx=1\n", "a", {}, "ignored", ""},
    {"DeletesFirstOfDuplicateSections", "[a]\nx=1\n[A]\nx=2\n", "a", {}, {}, "[A]\nx=2\n"},
    {"DeletingMissingSectionChangesNothing", "[a]\nx=1\n", "b", {}, {}, "[a]\nx=1\n"},
    {"DeletingSectionOfMissingFileCreatesNothing", {}, "a", {}, {}, {}},
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, EditsOnlyTheLinesItChanges) {
  const WriteCase& c = GetParam();
  TempFolder folder;
  const std::string path = c.before ? folder.put("case.ini", *c.before) : folder.file("case.ini");
  EXPECT_EQ(writeProfileString(c.section, c.key, c.value, path), c.result);
  EXPECT_EQ(contents(path), c.after ? std::optional<std::string>(*c.after) : std::nullopt);
  EXPECT_EQ(folder.entries(), c.after ? 1u : 0u) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, testing::ValuesIn(writeCases),
                         [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(ProfileWriteFile, WrittenValueReadsBack) {
  TempFolder folder;
  const std::string path = folder.file("b.ini");
  ASSERT_TRUE(writeProfileString("Functions", "IconSet0", "Std", path));
  EXPECT_EQ(readProfileString("functions", "iconset0", "!NONE", path), "Std");
  ASSERT_TRUE(writeProfileString("Functions", "IconSet0", "Big", path));
  EXPECT_EQ(readProfileString("Functions", "IconSet0", "!NONE", path), "Big");
}

TEST(ProfileWriteFile, ClearedSectionReadsDefaultAndComesBackAtTheEnd) {
  TempFolder folder;
  const std::string path = folder.put("b.ini", "[a]\nx=1\n[b]\ny=2\n");
  ASSERT_TRUE(writeProfileString("a", std::nullopt, std::nullopt, path));
  EXPECT_EQ(readProfileString("a", "x", "gone", path), "gone");
  ASSERT_TRUE(writeProfileString("a", "x", "3", path));
  EXPECT_EQ(contents(path), "[b]\ny=2\n[a]\nx=3\n");
}

TEST(ProfileWriteFile, LaterDuplicateSectionAnswersOnceTheFirstIsDeleted) {
  TempFolder folder;
  const std::string path = folder.put("b.ini", "[a]\nx=1\n[A]\nx=2\ny=3\n");
  EXPECT_EQ(readProfileString("a", "y", "d", path), "d");
  ASSERT_TRUE(writeProfileString("a", std::nullopt, std::nullopt, path));
  EXPECT_EQ(readProfileString("a", "y", "d", path), "3");
}

TEST(ProfileWriteFile, ReadOnlyFileRefusesChangesEvenForRoot) {
  TempFolder folder;
  const std::string before = "[s]\nk=1\n";
  const std::string path = folder.put("ro.ini", before);
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(writeProfileString("s", "k", "2", path));
  EXPECT_FALSE(writeProfileString("s", "j", "2", path));
  EXPECT_FALSE(writeProfileString("s", "k", std::nullopt, path));
  EXPECT_FALSE(writeProfileString("s", std::nullopt, std::nullopt, path));
  // A write that would change nothing succeeds without touching the file.
  EXPECT_TRUE(writeProfileString("s", "k", "1", path));
  EXPECT_TRUE(writeProfileString("s", "missing", std::nullopt, path));
  EXPECT_TRUE(writeProfileString("t", std::nullopt, std::nullopt, path));
  EXPECT_EQ(contents(path), before);
  EXPECT_EQ(folder.entries(), 1u);
}

TEST(ProfileWriteFile, MissingFolderFailsAndIsNotCreated) {
  TempFolder folder;
  const std::string path = folder.file("missing/b.ini");
  EXPECT_FALSE(writeProfileString("s", "k", "v", path));
  EXPECT_TRUE(writeProfileString("s", "k", std::nullopt, path));
  EXPECT_FALSE(fs::exists(folder.file("missing")));
}

TEST(ProfileWriteFile, DirectoryPathFails) {
  TempFolder folder;
  fs::create_directory(folder.file("dir.ini"));
  EXPECT_FALSE(writeProfileString("s", "k", "v", folder.file("dir.ini")));
  EXPECT_TRUE(fs::is_directory(folder.file("dir.ini")));
  EXPECT_FALSE(writeProfileString("s", "k", "v", ""));
}

TEST(ProfileWriteFile, KeepsPermissionsOfTheReplacedFile) {
  TempFolder folder;
  const std::string path = folder.put("p.ini", "[s]\nk=1\n");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeProfileString("s", "k", "2", path));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(ProfileWriteFile, WritesThroughASymbolicLink) {
  TempFolder folder;
  const std::string target = folder.put("real.ini", "[s]\nk=1\n");
  const std::string link = folder.file("link.ini");
  fs::create_symlink(target, link);
  ASSERT_TRUE(writeProfileString("s", "k", "2", link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(contents(target), "[s]\nk=2\n");
  EXPECT_EQ(folder.entries(), 2u);
}

}  // namespace
}  // namespace zadeve::platform
