#include <gtest/gtest.h>

#include "cli/check_ini_index.h"

namespace zadeve::cli::check {
namespace {

TEST(CheckIniIndex, LinesAreCountedAsTheProfileFunctionsSplitThem) {
  // LF, CRLF and a lone CR each end a line; a byte-order mark is not a line of its own.
  ProblemList problems;
  const IniIndex ini("\xEF\xBB\xBF; c\r\n[A]\rk=1\n\n [ b ] ; x\r\nK = 2\r\nlast=3", problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(ini.keyLine("a", "K"), 3);
  EXPECT_EQ(ini.keyLine("B", "k"), 6);
  EXPECT_EQ(ini.keyLine("B", "LAST"), 7);
  EXPECT_EQ(ini.lineOf("B", "none"), 5) << "a missing key is found at its section's header";
  EXPECT_EQ(ini.lineOf("none", "k"), 0);
}

TEST(CheckIniIndex, DuplicatesNameTheFirstAndJunkIsAnError) {
  ProblemList problems;
  const IniIndex ini("k=outside\n[S]\nk=1\nK=2\n[a\n=v\n[s]\nk=3\nnew=4\n", problems);
  // A key before any header and the keys of a later duplicate section are never read.
  EXPECT_EQ(ini.keyLine("S", "k"), 3);
  EXPECT_EQ(ini.keyLine("S", "new"), 0);
  EXPECT_EQ(ini.sections().size(), 1u);
  const auto found = problems.inFileOrder();
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].line, 4);
  EXPECT_EQ(found[0].message, "duplicate key K in [S]: the first, at line 3, wins");
  EXPECT_EQ(found[0].severity, Severity::Warning);
  // "[a" has no "]": neither a header nor a key; "=v" names no key.
  EXPECT_EQ(found[1].line, 5);
  EXPECT_EQ(found[2].line, 6);
  EXPECT_EQ(found[1].severity, Severity::Error);
  EXPECT_EQ(found[3].line, 7);
  EXPECT_EQ(found[3].message, "duplicate section [s]: the first, at line 2, wins; this one is never read");
}

}  // namespace
}  // namespace zadeve::cli::check
