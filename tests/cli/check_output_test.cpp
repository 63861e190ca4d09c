#include <gtest/gtest.h>

#include <sstream>

#include "cli/check_output.h"

namespace zadeve::cli::check {
namespace {

TEST(CheckOutput, JsonStringsAreValidWhateverTheFileEncoding) {
  struct Case {
    std::string text, json;
  };
  for (const auto& c : std::vector<Case>{
           {"plain", "\"plain\""},
           {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
           {"a\tb\nc\x01\x7f", "\"a\\tb\\nc\\u0001\\u007f\""},
           {"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80", "\"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80\""},
           // Latin-1 bytes, a cut sequence, an overlong form and a surrogate are taken byte by byte
           {"Gr\xf6\xdf" "e", "\"Gr\\u00f6\\u00dfe\""},
           {"x\xe2\x82", "\"x\\u00e2\\u0082\""},
           {"\xc0\xaf", "\"\\u00c0\\u00af\""},
           {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""},
       })
    EXPECT_EQ(jsonString(c.text), c.json) << c.text;
}

TEST(CheckOutput, TheBracketNamesOnlyThePartsThatApply) {
  std::ostringstream out;
  writeText(out, "B.INI",
            {{3, Severity::Error, "m1", "View", "Bar", "Button1"},
             {4, Severity::Warning, "m2", "", "", "Fn"},
             {5, Severity::Error, "m3", "", "", ""}});
  EXPECT_EQ(out.str(),
            "B.INI:3: error: m1 [View/Bar/Button1]\nB.INI:4: warning: m2 [Fn]\nB.INI:5: error: m3\n");
}

TEST(CheckOutput, ProblemsComeInFileOrderAndOnceEach) {
  ProblemList list;
  list.add({9, Severity::Error, "late", "V1", "", ""});
  list.add({2, Severity::Warning, "early", "", "", ""});
  list.add({9, Severity::Error, "late", "V2", "", ""});  // the same problem, found again for another view
  list.add({9, Severity::Warning, "second on the line", "", "", ""});
  auto sorted = list.inFileOrder();
  ASSERT_EQ(sorted.size(), 3u);
  EXPECT_EQ(sorted[0].message, "early");
  EXPECT_EQ(sorted[1].view, "V1");
  EXPECT_EQ(sorted[2].message, "second on the line");
  EXPECT_TRUE(list.hasErrors());
  ProblemList warnings;
  warnings.add({1, Severity::Warning, "w", "", "", ""});
  EXPECT_FALSE(warnings.hasErrors());
}

}  // namespace
}  // namespace zadeve::cli::check
