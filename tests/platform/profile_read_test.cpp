#include "platform/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/profile_reader.h"
#include "support/temp_dir.h"

namespace zadeve::platform {
namespace {

using namespace std::string_view_literals;
namespace fs = std::filesystem;

struct ReadCase {
  const char* name;
  std::string_view text;
  std::string_view section, key, expected;
  std::string_view defaultValue = "dflt";
  std::size_t size = 256;
};

const std::string x255(255, 'x');
const std::string stored255 = "[s]\nk=" + x255;
const std::string stored300 = "[s]\nk=" + x255 + "yyy";
const std::string storedQuoted = "[s]\nk=\"" + x255 + "y\"";
constexpr std::string_view lineEnds = "[a]\r\nx=1\r\n[b]\ry=2\nz=3";

const ReadCase readCases[] = {
    {"CrlfAndLoneCr", lineEnds, "b", "y", "2"},
    {"LastLineWithoutEnd", lineEnds, "b", "z", "3"},
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
    {"CallerNamesTrimmed", "[s]\nk=v", " s\t", " k ", "v"},
    {"FirstDuplicateKeyWins", "[s]\nk=1\nK=2\n[S]\nk=3\nj=4", "s", "k", "1"},
    {"OnlyFirstDuplicateSectionSearched", "[s]\nk=1\nK=2\n[S]\nk=3\nj=4", "S", "j", "dflt"},
    {"BlankValueIsNoDefault", "[s]\nk= \t\n", "s", "k", ""},
    {"OuterQuotesStrippedInsideKept", "[s]\nk= \" a b \" ", "s", "k", " a b "},
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
    {"MissingSectionGivesDefault", "[s]\nk=v", "t", "k", "dflt"},
    {"DefaultLosesTrailingSpacesOnly", "", "s", "k", "  d\t", "  d\t  "},
    {"DefaultKeepsQuotes", "", "s", "k", "\"q\"", "\"q\""},
    {"AllBlankDefault", "", "s", "k", "", "   "},
    {"DefaultCutToBuffer", "", "s", "k", "ab", "abcdef", 3},
    {"DefaultEndsAtNul", "", "s", "k", "ab", "ab\0cd"sv},
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
  for (const std::string& path : {dir.file("none.ini"), dir.file("none/none.ini"), dir.file("dir.ini"),
                                  std::string()}) {
    EXPECT_EQ(readProfileString("s", "k", "d ", path), "d") << path;
    EXPECT_EQ(readProfileStringUncached("s", "k", "d", path), "d") << path;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace zadeve::platform
