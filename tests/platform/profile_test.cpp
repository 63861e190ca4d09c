#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/profile_cache.h"
#include "platform/profile_reader.h"
#include "support/profile_seam.h"

namespace zadeve::platform {
namespace {

using namespace std::string_view_literals;
namespace fs = std::filesystem;
using Text = std::optional<std::string_view>;

struct ReadCase {
  const char* name;
  std::string_view text, section, key, expected, defaultValue = "dflt";
  std::size_t size = 256;
};

const std::string x255(255, 'x');
const std::string stored255 = "[s]\nk=" + x255, stored300 = stored255 + "yyy", storedQuoted = "[s]\nk=\"" + x255 + "y\"";
constexpr std::string_view lineEnds = "[a]\r\nx=1\r\n[b]\ry=2\nz=3", dups = "[s]\nk=1\nK=2\n[S]\nk=3\nj=4";

const ReadCase readCases[] = {
    {"CrlfAndLoneCr", lineEnds, "b", "y", "2"}, {"LastLineWithoutEnd", lineEnds, "b", "z", "3"},
    {"BlankAndLeadingBlanksIgnored", "\n \t\n  \t[s]\n\n\t k = v", "s", "k", "v"},
    {"HeaderToLastBracketTrimmedRestIgnored", "[ a]b \t] ; c\nk=1", "a]b", "k", "1"},
    {"BracketWithoutCloseIsNoHeader", "[s]\n[broken\nk=1", "s", "k", "1"},
    {"KeyToFirstEqualsInnerSpacesKept", "[s]\n a b =\v\f\x1a x = y  z \t\x1a", "s", "a b", "x = y  z"},
    {"NoInlineCommentsHashIsAKey", "[s]\n#c=v ; x", "s", "#c", "v ; x"},
    {"CommentIsNeverAKey", "[s]\n;k=v\n", "s", ";k", "dflt"},
    {"CommentLeavesNeighboursAlone", "[s]\n  ; j=v\nj=w\n;x", "s", "j", "w"},
    {"LineWithoutEqualsIsNoKey", "[s]\nflag\n", "s", "flag", "dflt"},
    {"EmptyKeyNameIsNoKey", "[s]\n=v\n", "s", "", "dflt"},
    {"HeaderLikeValueIsAValue", "[s]\nk=[t]\nj=1", "s", "k", "[t]"},
    {"KeysBeforeFirstHeaderHaveNoSection", "k=v\n[]\nk=w\n", "", "k", "w"},
    {"NulEndsValue", "[s]\nk=ab\0cd\nj=2"sv, "s", "k", "ab"},
    {"LineAfterNulReadNormally", "[s]\nk=ab\0cd\nj=2"sv, "s", "j", "2"},
    {"BomSkipped", "\xEF\xBB\xBF[s]\nk=v", "s", "k", "v"},
    {"NamesIgnoreAsciiCase", "[SeCtion]\nKeY=v", "section", "KEY", "v"},
    {"NonAsciiNamesMatchExactly", "[s]\n\xC4k=v", "s", "\xE4k", "dflt"},
    {"NoSectionPrefixMatch", "[sect]\nkey=v", "sec", "key", "dflt"},
    {"NoKeyPrefixMatch", "[sect]\nkey=v", "sect", "ke", "dflt"},
    {"InnerSpacesOfNamesCount", "[a b]\nk=v", "a  b", "k", "dflt"},
    {"CallerNamesTrimmed", "[s]\nk=v", " s\t", " k ", "v"}, {"FirstDuplicateKeyWins", dups, "s", "k", "1"},
    {"OnlyFirstDuplicateSectionSearched", dups, "S", "j", "dflt"},
    {"BlankValueIsNoDefault", "[s]\nk= \t\n", "s", "k", ""},
    {"OuterQuotesStrippedInsideKept", "[s]\nk= \" a b \" ", "s", "k", " a b "},
    {"SingleQuotesStripped", "[s]\nk='x'", "s", "k", "x"}, {"OnlyOuterQuotesGo", "[s]\nk=\"a\"b\"", "s", "k", "a\"b"},
    {"EmptyQuotes", "[s]\nk=\"\"", "s", "k", ""}, {"MismatchedQuotesStay", "[s]\nk=\"a'", "s", "k", "\"a'"},
    {"LoneQuoteStays", "[s]\nk=\"", "s", "k", "\""},
    {"HighBytesUnchanged", "[s]\nk=\xE9t\xE9\xFF", "s", "k", "\xE9t\xE9\xFF"},
    {"Exactly255Kept", stored255, "s", "k", x255}, {"LongValueCutTo255", stored300, "s", "k", x255},
    {"CutAfterQuotesStripped", storedQuoted, "s", "k", x255},
    {"SizeOneGivesEmpty", "[s]\nk=abc", "s", "k", "", "dflt", 1},
    {"SizeTwoGivesOneChar", "[s]\nk=abc", "s", "k", "a", "dflt", 2},
    {"MissingSectionGivesDefault", "[s]\nk=v", "t", "k", "dflt"},
    {"DefaultLosesTrailingSpacesOnly", "", "s", "k", "  d\t", "  d\t  "},
    {"DefaultKeepsQuotes", "", "s", "k", "\"q\"", "\"q\""}, {"AllBlankDefault", "", "s", "k", "", "   "},
    {"DefaultCutToBuffer", "", "s", "k", "ab", "abcdef", 3}, {"DefaultEndsAtNul", "", "s", "k", "ab", "ab\0cd"sv},
};

TEST(ProfileRead, ReturnsWhatTheSystemFunctionWould) {
  support::TempDir dir;
  for (const ReadCase& c : readCases) {
    SCOPED_TRACE(c.name);
    const std::string path = dir.write(std::string(c.name) + ".ini", std::string(c.text));
    EXPECT_EQ(readProfileString(c.section, c.key, c.defaultValue, path, c.size), c.expected);
    EXPECT_EQ(readProfileStringUncached(c.section, c.key, c.defaultValue, path, c.size), c.expected);
  }
}

TEST(ProfileRead, UnreadablePathsGiveTheDefaultAndCreateNothing) {
  support::TempDir dir;
  fs::create_directory(dir.file("dir.ini"));
  for (const std::string& path : {dir.file("none.ini"), dir.file("none/none.ini"), dir.file("dir.ini"), std::string()}) {
    EXPECT_EQ(readProfileString("s", "k", "d ", path), "d") << path;
    EXPECT_EQ(readProfileStringUncached("s", "k", "d", path), "d") << path;
  }
  EXPECT_EQ(entries(dir), 1);
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
    EXPECT_EQ(fs::exists(path) ? std::optional(support::TempDir::read(path)) : std::nullopt,
              c.after ? std::optional<std::string>(*c.after) : std::nullopt);
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
  EXPECT_EQ(support::TempDir::read(path), "[b]\ny=2\n[a]\nx=4\n");
}

TEST(ProfileWrite, ReplacesTheLinkTargetKeepingItsPermissions) {
  support::TempDir dir;
  const std::string target = dir.write("real.ini", "[s]\nk=1\n"), link = dir.file("link.ini");
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, mode);
  fs::create_symlink(target, link);
  ASSERT_TRUE(writeProfileString("s", "k", "2", link));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(support::TempDir::read(target), "[s]\nk=2\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
  EXPECT_EQ(entries(dir), 2);
}

TEST(ProfileWriterFailure, EachFailingCallLeavesTheFileAsItWasAndNoTemporary) {
  const std::string before = "; settings\r\n[s]\r\nk=1\r\n\r\n[t]\r\nj=2\r\n";
  for (Failure failure : {Failure::ReadOriginal, Failure::Lock, Failure::CreateTemporary, Failure::Write,
                          Failure::ShortWriteThenFull, Failure::Fsync, Failure::Close, Failure::Rename}) {
    SCOPED_TRACE(static_cast<int>(failure));
    support::TempDir dir;
    const std::string path = dir.write("b.ini", before);
    {
      SeamFileSystem failing;
      failing.failure = failure;
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

class ProfileCacheTest : public testing::Test {
 protected:
  ProfileCacheTest() { ProfileCache::instance().clear(); }
  ~ProfileCacheTest() override { ProfileCache::instance().clear(); }
  std::string read(std::string_view key = "k") { return readProfileString("s", key, "d", path); }

  SeamFileSystem watched;
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
  EXPECT_EQ(read() + read("j") + read("missing"), "vwd");
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
    EXPECT_EQ(read() + read("missing"), "vd");
    EXPECT_EQ(watched.stats - stats + watched.opens - opens, 0);
    ASSERT_TRUE(writeProfileString("s", "j", "w", path));  // edits the file as it is now
    EXPECT_EQ(read() + read("j"), "editedw");
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
  ProfileCallScope next;
  EXPECT_EQ(read(), "later");
  fs::remove(path);
  ASSERT_TRUE(writeProfileString("s", "k", std::nullopt, path));  // nothing there to delete
  EXPECT_EQ(read(), "d");
}

}  // namespace
}  // namespace zadeve::platform
