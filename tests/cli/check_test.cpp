// zadeve check on purpose-built files: tests/data/check/BARS.INI holds one of every problem the
// check finds (its goldens list them), clean.ini none; and the parts that find lines and write.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/check_ini_index.h"
#include "cli/check_output.h"
#include "cli/run_zadeve.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;
using namespace check;

const fs::path Data = ZADEVE_TEST_DATA;

// Runs the check from inside `dir`, so that files are named as a user there names them.
Result checkIn(const fs::path& dir, std::vector<std::string> args) {
  InDirectory in(dir);
  args.insert(args.begin(), "check");
  return zadeve(args);
}

// In the broken file Button5 of line 39 is the first key past its count; line 45 names Bold in
// lower case, which uses it all the same, so Spare alone is unused.
TEST(CheckCommand, FilesSayWhatTheyHoldAsTheGoldensAndTheExamplesDo) {
  const fs::path examples = sourceRoot() / "examples";
  struct Case {
    fs::path dir;
    std::vector<std::string> args;
    int status;
    std::string out, golden;
  };
  for (const auto& c : std::vector<Case>{
           {Data / "check", {"BARS.INI", "--lang", "de.po"}, ExitFailed, "", "check_broken.txt"},
           {Data / "check", {"--lang", "de.po", "--format", "json"}, ExitFailed, "", "check_broken.json"},
           {Data / "check", {"clean.ini"}, ExitOk, "", ""},
           {Data / "check", {"clean.ini", "--lang", "de.po"}, ExitOk, "", ""},
           {Data / "check", {"clean.ini", "--format", "json"}, ExitOk, "[]\n", ""},
           {examples / "diagram", {}, ExitOk, "", ""},
           {examples, {}, ExitFailed,
            "BARS.INI:74: error: Toolbar setup error - missing function: Export. [MainView/File/Button12]\n"
            "BARS.INI:84: error: Toolbar setup error - unknown function: !WRAP. [MainView/Format/Button5]\n", ""}}) {
    const Result r = checkIn(c.dir, c.args);
    EXPECT_EQ(r.status, c.status) << c.dir << " " << ::testing::PrintToString(c.args);
    EXPECT_EQ(r.err, "");
    if (c.golden.empty())
      EXPECT_EQ(r.out, c.out) << c.dir;
    else
      expectGolden(r.out, c.golden);
  }
}

// What the library does without a word to a bar entry, or to a file without views: each on a
// file that has exactly that problem, found once on its line (JSON writes the same list).
TEST(CheckCommand, EachSilentBarProblemOnceOnItsLine) {
  const std::string rest = "[Functions]\nA=MENU\n[Toolbar.T]\nButtonCount=1\nButton0=A\n";
  auto view = [&](const std::string& entries, int count = 1) {
    return "[V.Toolbars]\nBarCount=" + std::to_string(count) + "\n" + entries + rest;
  };
  const struct {
    std::string text;
    int line;
    std::string severity, says;
  } cases[] = {
      {view("Bar0=Name=Gone;Visible=Yes\n"), 3, "error",
       "there is no section [Toolbar.Gone] to fill bar Gone: it comes out empty [V/Gone/Bar0]"},
      {view("Bar0=Home=TOP;Visible=Yes\n"), 3, "error", "Bar0 has no Name=, so no toolbar section fills its bar"},
      {view("Bar0=Name=;Visible=Yes\n"), 3, "error", "Bar0 has an empty Name, so no toolbar section fills its bar"},
      {view("Bar0=Name=T;Home=TOP;Note=" + std::string(240, 'x') + ";Visible=Yes\n"), 3, "error",
       "Bar0 is 273 characters long and the library reads only its first 255: \"xxxxxx;Visible=Yes\" after the cut "
       "is lost (Note, Visible)"},
      {view("Bar0=Name=T;Visible=Yes\nBar1=Name=t;Home=LEFT\n", 2), 4, "warning",
       "bar t is listed already as Bar0 at line 3: the view gets it twice [V/t/Bar1]"},
      {rest, 1, "warning", "the file has no view (no section named VIEW.Toolbars)"},
  };
  support::TempDir dir;
  for (const auto& c : cases) {
    const std::string ini = dir.write("BARS.INI", c.text);
    const Result text = zadeve({"check", ini});
    EXPECT_EQ(text.status, c.severity == "error" ? ExitFailed : ExitOk) << c.says;
    EXPECT_TRUE(oneLine(text.out)) << text.out;
    EXPECT_TRUE(text.out.starts_with(ini + ":" + std::to_string(c.line) + ": " + c.severity + ": ")) << text.out;
    EXPECT_NE(text.out.find(c.says), std::string::npos) << text.out;
  }
}

TEST(CheckCommand, WarningsAloneExitZeroAndTheBitmapFolderCanBeNamed) {
  support::TempDir dir;
  fs::create_directory(dir.path() / "pictures");
  fs::copy_file(Data / "check" / "std16.bmp", dir.path() / "pictures" / "std16.bmp");
  const std::string ini = dir.write("BARS.INI",
                                    "[V.Toolbars]\r\nBarCount=1\r\nBar0=Name=T;Visible=Yes\r\n[Functions]\r\n"
                                    "IconSet0=std16.bmp\r\nA=PUSH,0/1,A|\r\nUnused=MENU\r\n[Toolbar.T]\r\n"
                                    "ButtonCount=1\r\nButton0=A\r\n");
  Result r = zadeve({"check", ini, "--bitmaps", dir.file("pictures")});
  EXPECT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.out, ini + ":7: warning: function Unused is defined but no toolbar uses it [Unused]\n");
  // Without --bitmaps the file's own folder holds none: the library's report names the file as
  // the user would find it.
  r = zadeve({"check", ini});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_NE(r.out.find(ini + ":5: error: File not found: " + dir.file("std16.bmp") + " while processing"),
            std::string::npos)
      << r.out;
}

TEST(CheckOutput, JsonStringsAreValidWhateverTheFileEncoding) {
  for (const auto& [text, json] : std::vector<std::pair<std::string, std::string>>{
           {"plain", "\"plain\""},
           {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
           {"a\tb\nc\x01\x7f", "\"a\\tb\\nc\\u0001\\u007f\""},
           {"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80", "\"Gr\xc3\xb6\xc3\x9f" "e \xe2\x82\xac \xf0\x9f\x98\x80\""},
           // Latin-1 bytes, a cut sequence, an overlong form and a surrogate are taken byte by byte
           {"Gr\xf6\xdf" "e", "\"Gr\\u00f6\\u00dfe\""},
           {"x\xe2\x82", "\"x\\u00e2\\u0082\""},
           {"\xc0\xaf", "\"\\u00c0\\u00af\""},
           {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""}})
    EXPECT_EQ(jsonString(text), json) << text;
}

// The same problem found again for another view is one problem; one line keeps finding order.
TEST(CheckOutput, ProblemsComeInFileOrderAndOnceEach) {
  ProblemList list;
  for (const auto& [line, severity, message, view] : std::vector<std::tuple<int, Severity, std::string, std::string>>{
           {9, Severity::Error, "late", "V1"}, {2, Severity::Warning, "early", ""}, {9, Severity::Error, "late", "V2"},
           {9, Severity::Warning, "second", ""}})
    list.add({line, severity, message, view, "", ""});
  std::ostringstream out;
  writeText(out, "I", list.inFileOrder());
  EXPECT_EQ(out.str(), "I:2: warning: early\nI:9: error: late [V1]\nI:9: warning: second\n");
}

}  // namespace
}  // namespace zadeve::cli
