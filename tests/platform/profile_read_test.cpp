#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/profile_reader.h"

namespace zadeve::platform {
namespace {

using namespace std::string_view_literals;
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

struct ReadCase {
  const char* name;
  std::string_view text;
  std::string_view section;
  std::string_view key;
  std::string_view expected;
  std::string_view defaultValue = "dflt";
  std::size_t size = 256;
};

const std::string x255(255, 'x');
const std::string x300(300, 'x');
const std::string quoted255 = "\"" + x255 + "\"";
const std::string stored255 = "[s]\nk=" + x255 + "\n";
const std::string stored300 = "[s]\nk=" + x300 + "\n";
const std::string storedQuoted = "[s]\nk=" + quoted255 + "\n";

const ReadCase readCases[] = {
    {"Lf", "[s]\nk=v\n", "s", "k", "v"},
    {"Crlf", "[s]\r\nk=v\r\n", "s", "k", "v"},
    {"LoneCr", "[s]\rk=v\rj=w", "s", "j", "w"},
    {"MixedLineEnds", "[a]\r\nx=1\n[b]\ry=2\r\n", "b", "y", "2"},
    {"LastLineWithoutEnd", "[s]\nk=v", "s", "k", "v"},
    {"BlankLinesIgnored", "\n \t\n[s]\n\n   \nk=v\n\n", "s", "k", "v"},
    {"LeadingBlanksIgnored", "  \t[s]\n\t k = v", "s", "k", "v"},
    {"TextAfterHeaderIgnored", "[v] ; c\nk=1", "v", "k", "1"},
    {"HeaderRunsToLastBracket", "[a]b]\nk=1", "a]b", "k", "1"},
    {"HeaderNameTrimmed", "[  sp ace \t]\nk=1", "sp ace", "k", "1"},
    {"BracketWithoutCloseIsNoHeader", "[s]\n[broken\nk=1", "s", "k", "1"},
    {"KeyEndsAtFirstEquals", "[s]\na=b=c", "s", "a", "b=c"},
    {"InnerSpacesKept", "[s]\nk =  a  b  ", "s", "k", "a  b"},
    {"TrimsVtFfAndEofMark", "[s]\nk=\v\f\x1a v \x1a\t", "s", "k", "v"},
    {"NoInlineComments", "[s]\nk=v ; x", "s", "k", "v ; x"},
    {"HashIsNoComment", "[s]\n#c=v", "s", "#c", "v"},
    {"CommentIsNeverAKey", "[s]\n;k=v\n", "s", ";k", "dflt"},
    {"CommentLeavesNeighboursAlone", "[s]\n  ; k=v\nk=w\n;x\nj=u", "s", "j", "u"},
    {"LineWithoutEqualsIsNoKey", "[s]\nflag\n", "s", "flag", "dflt"},
    {"HeaderLikeValueIsAValue", "[s]\nk=[t]\nj=1", "s", "k", "[t]"},
    {"HeaderLikeValueOpensNoSection", "[s]\nk=[t]\nj=1", "s", "j", "1"},
    {"KeysBeforeFirstHeaderHaveNoSection", "k=v\n[s]\n", "", "k", "dflt"},
    {"EmptyHeaderIsASection", "k=v\n[]\nk=w\n", "", "k", "w"},
    {"NulEndsValue", "[s]\nk=ab\0cd\nj=2"sv, "s", "k", "ab"},
    {"LineAfterNulReadNormally", "[s]\nk=ab\0cd\nj=2"sv, "s", "j", "2"},
    {"BomSkipped", "\xEF\xBB\xBF[s]\nk=v", "s", "k", "v"},
    {"NamesIgnoreAsciiCase", "[SeCtion]\nKeY=v", "section", "KEY", "v"},
    {"NonAsciiNamesMatchExactly", "[s]\n\xC4k=v", "s", "\xE4k", "dflt"},
    {"NoSectionPrefixMatch", "[sect]\nkey=v", "sec", "key", "dflt"},
    {"NoKeyPrefixMatch", "[sect]\nkey=v", "sect", "ke", "dflt"},
    {"InnerSpacesOfNamesCount", "[a b]\nk=v", "a  b", "k", "dflt"},
    {"CallerNamesTrimmed", "[s]\nk=v", " s\t", " k ", "v"},
    {"FirstDuplicateKeyWins", "[s]\nk=1\nK=2", "s", "k", "1"},
    {"OnlyFirstDuplicateSectionSearched", "[s]\nk=1\n[S]\nj=2", "s", "j", "dflt"},
    {"FirstDuplicateSectionAnswers", "[s]\nk=1\n[S]\nk=2", "S", "k", "1"},
    {"EmptyValueIsNoDefault", "[s]\nk=\n", "s", "k", ""},
    {"BlankValueIsNoDefault", "[s]\nk=   \n", "s", "k", ""},
    {"DoubleQuotesStripped", "[s]\nk= \" a b \" ", "s", "k", " a b "},
    {"SingleQuotesStripped", "[s]\nk='x'", "s", "k", "x"},
    {"OnlyOuterQuotesGo", "[s]\nk=\"a\"b\"", "s", "k", "a\"b"},
    {"EmptyQuotes", "[s]\nk=\"\"", "s", "k", ""},
    {"MismatchedQuotesStay", "[s]\nk=\"a'", "s", "k", "\"a'"},
    {"LoneQuoteStays", "[s]\nk=\"", "s", "k", "\""},
    {"HighBytesUnchanged", "[s]\nk=\xE9t\xE9\xFF", "s", "k", "\xE9t\xE9\xFF"},
    {"Exactly255Kept", stored255, "s", "k", x255},
    {"LongValueCutTo255", stored300, "s", "k", x255},
    {"CutAfterQuotesStripped", storedQuoted, "s", "k", x255},
    {"SizeOneGivesEmpty", "[s]\nk=abc", "s", "k", "", "dflt", 1},
    {"SizeTwoGivesOneChar", "[s]\nk=abc", "s", "k", "a", "dflt", 2},
    {"SizeZeroGivesEmpty", "[s]\nk=abc", "s", "k", "", "dflt", 0},
    {"MissingKeyGivesDefault", "[s]\nk=v", "s", "j", "dflt"},
    {"MissingSectionGivesDefault", "[s]\nk=v", "t", "k", "dflt"},
    {"DefaultLosesTrailingSpacesOnly", "", "s", "k", "  d\t", "  d\t  "},
    {"DefaultKeepsQuotes", "", "s", "k", "\"q\"", "\"q\""},
    {"EmptyDefault", "", "s", "k", "", ""},
    {"AllBlankDefault", "", "s", "k", "", "   "},
    {"DefaultCutToBuffer", "", "s", "k", "ab", "abcdef", 3},
    {"LongDefaultCutTo255", "", "s", "k", x255, x300},
    {"DefaultEndsAtNul", "", "s", "k", "ab", "ab\0cd"sv},
    {"EmptyKeyName", "[s]\n=v\n", "s", "", "dflt"},
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, ReturnsWhatTheSystemFunctionWould) {
  const ReadCase& c = GetParam();
  TempFolder folder;
  const std::string path = folder.put("case.ini", c.text);
  EXPECT_EQ(readProfileString(c.section, c.key, c.defaultValue, path, c.size), c.expected);
  EXPECT_EQ(readProfileStringUncached(c.section, c.key, c.defaultValue, path, c.size), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead, testing::ValuesIn(readCases),
                         [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

TEST(ProfileReadFile, MissingFileOrFolderGivesDefaultAndCreatesNothing) {
  TempFolder folder;
  const std::string missing = folder.file("none.ini");
  const std::string inMissingFolder = folder.file("none/none.ini");
  EXPECT_EQ(readProfileString("s", "k", "d ", missing), "d");
  EXPECT_EQ(readProfileString("s", "k", "d", inMissingFolder), "d");
  EXPECT_EQ(readProfileString("s", "k", "d", ""), "d");
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_FALSE(fs::exists(folder.file("none")));
}

TEST(ProfileReadFile, DirectoryReadsAsMissing) {
  TempFolder folder;
  fs::create_directory(folder.file("dir.ini"));
  EXPECT_EQ(readProfileString("s", "k", "d", folder.file("dir.ini")), "d");
  EXPECT_EQ(readProfileStringUncached("s", "k", "d", folder.file("dir.ini")), "d");
}

TEST(ProfileReadFile, FileThatBecomesUnreadableReadsAsMissing) {
  TempFolder folder;
  const std::string path = folder.put("p.ini", "[s]\nk=v\n");
  ASSERT_EQ(readProfileString("s", "k", "d", path), "v");
  fs::remove(path);
  fs::create_directory(path);
  EXPECT_EQ(readProfileString("s", "k", "d", path), "d");
}

TEST(ProfileReadFile, BinaryGarbageDoesNotHideLaterSections) {
  std::mt19937 random(12345);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  TempFolder folder;
  const std::string path = folder.put("garbage.ini", garbage + "\n[zz-end]\nk=v\n");
  EXPECT_EQ(readProfileString("zz-end", "k", "d", path), "v");
  EXPECT_EQ(readProfileString("zz-end", "missing", "d", path), "d");
  const std::string onlyGarbage = folder.put("only.ini", garbage);
  EXPECT_EQ(readProfileString("s", "k", "d", onlyGarbage), "d");
}

}  // namespace
}  // namespace zadeve::platform
