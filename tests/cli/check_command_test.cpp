// zadeve check on purpose-built files: tests/data/check/BARS.INI holds one of every
// problem the check finds, clean.ini none. Goldens: ZADEVE_UPDATE_GOLDEN=1 rewrites them
// after a deliberate change; read the diff before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/run_zadeve.h"
#include "platform/current_directory.h"
#include "support/temp_dir.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

const fs::path Data = ZADEVE_TEST_DATA;

// Runs the check from inside tests/data/check, so that the file and the bitmaps are named
// as a user there names them and the output does not depend on where the tree lies.
Result checkIn(const fs::path& dir, std::vector<std::string> args) {
  const std::string before = platform::currentDirectory();
  platform::changeDirectory(dir.string());
  args.insert(args.begin(), "check");
  Result r = zadeve(args);
  platform::changeDirectory(before);
  return r;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

TEST(CheckCommand, ReportsEveryPlantedProblemOnceWithItsLineAndSeverity) {
  const Result r = checkIn(Data / "check", {"BARS.INI", "--lang", "de.po"});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_EQ(r.err, "");
  struct Planted {
    int line;
    const char* severity;
    const char* text;
  };
  // Button5 of line 39 is the first key past its count; line 45 names Bold in lower case,
  // which uses it all the same (function names know no case), so Spare alone is unused.
  const Planted planted[] = {
      {8, "error", "Home=SIDE names no edge"},
      {10, "warning", "Bar3 is beyond BarCount=3"},
      {13, "error", "Toolbar configuration error. BarCount=21 [Second]"},
      {22, "error", "File not found: missing.bmp while processing: 15 [Main/Edit/Button4]"},
      {23, "error", "the bitmap of IconSet2 does not load: Invalid picture: broken.bmp"},
      {25, "error", "unknown type word \"PUHS\""},
      {26, "error", "image 16 is beyond the strip of IconSet0 (std16.bmp holds 16 images)"},
      {26, "warning", "\"Last page\" has no translation in de.po"},
      {29, "warning", "function Spare is defined but no toolbar uses it"},
      {30, "error", "neither a section, a key nor a comment"},
      {32, "error", "Missing button: Button2. [Main/Edit/Button2]"},
      {35, "warning", "duplicate key Button0 in [Toolbar.Edit]: the first, at line 34, wins"},
      {36, "error", "missing function: Paste. [Main/Edit/Button1]"},
      {37, "error", "unknown function: !WRAP. [Main/Edit/Button3]"},
      {39, "warning", "Button5 is beyond ButtonCount=5"},
      {49, "error", "Error In KatSetup Line= Type mismatch [Main/Sizes/ButtonSize]"},
      {52, "warning", "duplicate section [Toolbar.Tools]: the first, at line 41, wins"},
  };
  const auto found = lines(r.out);
  EXPECT_EQ(found.size(), std::size(planted)) << r.out;
  for (const auto& p : planted) {
    const std::string head = "BARS.INI:" + std::to_string(p.line) + ": " + p.severity + ": ";
    const auto n = std::count_if(found.begin(), found.end(), [&](const std::string& l) {
      return l.starts_with(head) && l.find(p.text) != std::string::npos;
    });
    EXPECT_EQ(n, 1) << head << p.text << "\nin:\n" << r.out;
  }
}

TEST(CheckCommand, TextAndJsonOfTheBrokenFileEqualTheirGoldens) {
  for (const auto& [format, golden] : {std::pair{"text", "check_broken.txt"}, std::pair{"json", "check_broken.json"}}) {
    const Result r = checkIn(Data / "check", {"--lang", "de.po", "--format", format});
    EXPECT_EQ(r.status, ExitFailed) << format;
    const std::string path = (Data / "golden" / golden).string();
    if (const char* update = std::getenv("ZADEVE_UPDATE_GOLDEN"); update && *update == '1') {
      std::ofstream(path, std::ios::binary) << r.out;
      continue;
    }
    ASSERT_TRUE(fs::exists(path)) << path << " is missing; run with ZADEVE_UPDATE_GOLDEN=1";
    EXPECT_EQ(r.out, support::TempDir::read(path)) << format;
  }
}

TEST(CheckCommand, ACleanFileSaysNothing) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"clean.ini"}, {"clean.ini", "--lang", "de.po"}}) {
    const Result r = checkIn(Data / "check", args);
    EXPECT_EQ(r.status, ExitOk) << r.out << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(checkIn(Data / "check", {"clean.ini", "--format", "json"}).out, "[]\n");
}

TEST(CheckCommand, FindsTheTwoDeliberateProblemsOfTheExamples) {
  const std::string before = platform::currentDirectory();
  const Result r = checkIn(Data.parent_path().parent_path() / "examples", {});
  EXPECT_EQ(platform::currentDirectory(), before);
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_EQ(r.out,
            "BARS.INI:74: error: Toolbar setup error - missing function: Export. [MainView/File/Button12]\n"
            "BARS.INI:84: error: Toolbar setup error - unknown function: !WRAP. [MainView/Format/Button5]\n");
}

// What the library does without a word to a bar entry, or to a file without views: each
// on a file that has exactly that problem, found once on its line, in text and in JSON.
TEST(CheckCommand, EachSilentBarProblemOnceOnItsLine) {
  const std::string rest = "[Functions]\nA=MENU\n[Toolbar.T]\nButtonCount=1\nButton0=A\n";
  auto view = [&](const std::string& entries, int count = 1) {
    return "[V.Toolbars]\nBarCount=" + std::to_string(count) + "\n" + entries + rest;
  };
  const std::string note(240, 'x');
  struct Case {
    std::string text;
    int line;
    const char* severity;
    std::string says;
  };
  const Case cases[] = {
      {view("Bar0=Name=Gone;Visible=Yes\n"), 3, "error",
       "there is no section [Toolbar.Gone] to fill bar Gone: it comes out empty [V/Gone/Bar0]"},
      {view("Bar0=Home=TOP;Visible=Yes\n"), 3, "error", "Bar0 has no Name=, so no toolbar section fills its bar"},
      {view("Bar0=Name=;Visible=Yes\n"), 3, "error", "Bar0 has an empty Name, so no toolbar section fills its bar"},
      {view("Bar0=Name=T;Home=TOP;Note=" + note + ";Visible=Yes\n"), 3, "error",
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
    EXPECT_EQ(text.status, std::string(c.severity) == "error" ? ExitFailed : ExitOk) << c.says;
    const auto found = lines(text.out);
    ASSERT_EQ(found.size(), 1u) << c.says << "\n" << text.out;
    EXPECT_TRUE(found[0].starts_with(ini + ":" + std::to_string(c.line) + ": " + c.severity + ": ")) << found[0];
    EXPECT_NE(found[0].find(c.says), std::string::npos) << found[0];
    const Result json = zadeve({"check", ini, "--format", "json"});
    EXPECT_EQ(lines(json.out).size(), 3u) << json.out;  // [, the one object, ]
    EXPECT_NE(json.out.find("\"line\": " + std::to_string(c.line) + ", \"severity\": \"" + c.severity + "\""),
              std::string::npos)
        << json.out;
  }
}

TEST(CheckCommand, TheDiagramExampleIsClean) {
  const Result r = checkIn(Data.parent_path().parent_path() / "examples" / "diagram", {});
  EXPECT_EQ(r.status, ExitOk);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
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
  // Without --bitmaps the file's own folder holds none: the library's report names the
  // file as the user would find it.
  r = zadeve({"check", ini});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_NE(r.out.find(ini + ":5: error: File not found: " + dir.file("std16.bmp") + " while processing"),
            std::string::npos)
      << r.out;
}

TEST(CheckCommand, WhatStopsTheToolIsOneLineAndStatusTwo) {
  support::TempDir dir;
  const std::string clean = (Data / "check" / "clean.ini").string();
  const std::string bad = dir.write("bad.po", "msgid \"x\nmsgstr \"y\"\n");
  struct Case {
    std::vector<std::string> args;
    std::string names;
  };
  for (const auto& c : std::vector<Case>{{{dir.file("nowhere.ini")}, "nowhere.ini"},
                                         {{clean, "--bitmaps", dir.file("nofolder")}, "nofolder"},
                                         {{clean, "--lang", dir.file("none.po")}, "none.po"},
                                         {{clean, "--lang", bad}, "bad.po"},
                                         {{clean, "--format", "xml"}, "xml"}}) {
    auto args = c.args;
    args.insert(args.begin(), "check");
    const Result r = zadeve(args);
    EXPECT_EQ(r.status, ExitUsage) << c.names;
    EXPECT_EQ(r.out, "") << c.names;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(c.names), std::string::npos) << r.err;
  }
  const Result help = zadeve({"check", "--help"});
  EXPECT_EQ(help.status, ExitOk);
  for (const char* word : {"--bitmaps", "--lang", "--format", "Errors (exit status 1)", "Warnings"})
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace zadeve::cli
