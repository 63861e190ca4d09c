#include <gtest/gtest.h>

#include "cli/call_script.h"
#include "cli/cli_files.h"
#include "cli/run_zadeve.h"

namespace zadeve::cli {
namespace {

std::string script(const std::string& name) { return (sourceRoot() / "examples" / "calls" / name).string(); }

TEST(CallCommand, TourScriptMatchesItsGolden) {
  const auto r = zadeve({"call", exampleIni(), script("tour.zcall")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  expectGolden(r.out, "call_tour.txt");
}

TEST(CallCommand, FunctionStateScriptKeepsButtonsInStep) {
  const auto r = zadeve({"call", exampleIni(), script("function_state.zcall")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  for (const std::string line : {
           "KaTGetFunctionState(Main, \"Bold\", $state) = True: $state = -1\n",
           // the click releases the button; the host's own Bold command, off until now, turns it on
           "click Main.Format.Bold: Main received bar(1) ButtonClick Bold; Main ran Bold (aCmdFlag 0)\n",
           "KaTGetFunctionState(Main, \"Italic\", $state) = True: $state = -1\n",
           "KaGetFunctionListItem(Main, \"FontName\", $item, $data): $item = \"Sans\", $data = 2\n",
           "GetStatusMsg(Main, \"StatusText\") = \"Ready to draw\"\n"})
    EXPECT_NE(r.out.find(line), std::string::npos) << "missing: " << line << "in:\n" << r.out;
}

TEST(CallCommand, StopsAtTheFirstErrorWithItsLineAndNumber) {
  support::TempDir dir;
  struct Case {
    std::string script, err;
  };
  for (const auto& c : std::vector<Case>{
           {"form Main 300x200\n# a comment\n\nKaTNoSuchMember Main\nform Other 10x10\n",
            ":4: error 438: Object doesn't support this property or method\n"},
           // without a form, Main is a word, and KaTSetup wants a form
           {"KaTSetup Main MainView\n", ":1: error 13: Type mismatch\n"},
           {"form Main 300x200\nclick Nowhere Format Bold\n", ":2: error: no form named Nowhere (make one with: form NAME WxH)\n"},
           {"form Main 300x200\nKaTSetup Main MainView\nfloat Main Sketchbook\n", ":3: error: Main has no bar Sketchbook\n"},
           {"form Main 3x\n", ":1: error: malformed size 3x (want WxH, e.g. 800x600)\n"},
           {"print \"open\n", ":1: error: a quoted text is not closed\n"}}) {
    const std::string path = dir.write("s.zcall", c.script);
    const auto r = zadeve({"call", exampleIni(), path});
    EXPECT_EQ(r.status, ExitFailed) << c.script;
    EXPECT_EQ(r.err, path + c.err) << c.script;
    EXPECT_EQ(r.out.find("form Other"), std::string::npos) << "nothing runs after the error";
  }
}

TEST(CallCommand, VariablesCarryValuesInAndOut) {
  support::TempDir dir;
  const auto r = zadeve({"call", exampleIni(),
                         dir.write("v.zcall", "print $x\nset $x \"a b\"\nprint $x\nset $y $x\nprint $Y\nset $n 70000\n"
                                              "print $n\nset $d 2.5\nprint $d\nset $b true\nprint $b\n"
                                              "GetConfigValue Functions IconSetCount $x\n")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.out,
            "$x = Empty\n$x = \"a b\"\n$Y = \"a b\"\n$n = 70000\n$d = 2.5\n$b = True\n"
            "GetConfigValue(\"Functions\", \"IconSetCount\", $x) = \"3\": $x = \"a b\"\n");
}

TEST(CallScript, SplitsWordsQuotesAndComments) {
  struct Case {
    std::string line;
    std::vector<Word> words;
  };
  for (const auto& c : std::vector<Case>{
           {"  KaTSetup\tMain  MainView ", {{"KaTSetup"}, {"Main"}, {"MainView"}}},
           {"click Main Draw \"Create Symbol:Ellipse\" # the user", {{"click"}, {"Main"}, {"Draw"}, {"Create Symbol:Ellipse", true}}},
           {"set $v \"say \\\"hi\\\" \\\\ #not a comment\"", {{"set"}, {"$v"}, {"say \"hi\" \\ #not a comment", true}}},
           {"KaTGetProp Main.Draw Home \"\"", {{"KaTGetProp"}, {"Main.Draw"}, {"Home"}, {"", true}}},
           {"# only a comment", {}},
           {"x#y", {{"x#y"}}}})
    EXPECT_EQ(splitWords(c.line), c.words) << c.line;
  EXPECT_THROW(splitWords("print \"a\"b"), ScriptError);
}

}  // namespace
}  // namespace zadeve::cli
