#include <gtest/gtest.h>

#include <regex>

#include "cli/cli_files.h"
#include "cli/run_zadeve.h"

namespace zadeve::cli {
namespace {

bool oneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

TEST(ToolConventions, HelpOnEveryCommandAndAVersion) {
  for (const std::string command :
       {"", "ini", "ini get", "ini set", "ini delete-section", "demo", "render", "layout", "call"}) {
    std::vector<std::string> args;
    for (size_t at = 0, end; at < command.size(); at = end + 1) {
      end = std::min(command.find(' ', at), command.size());
      args.push_back(command.substr(at, end - at));
    }
    args.push_back("--help");
    const auto r = zadeve(args);
    EXPECT_EQ(r.status, ExitOk) << command;
    EXPECT_NE(r.out.find("\nUsage: zadeve" + (command.empty() ? "" : " " + command) + " [OPTIONS]"), std::string::npos)
        << r.out;
  }
  EXPECT_NE(zadeve({"call", "--help"}).out.find("click FORM BAR FUNCTION"), std::string::npos) << "the grammar";
  const auto v = zadeve({"--version"});
  EXPECT_EQ(v.status, ExitOk);
  EXPECT_TRUE(std::regex_match(v.out, std::regex("zadeve [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << v.out;
}

TEST(ToolConventions, UsageErrorsExitTwoWithOneLine) {
  support::TempDir dir;
  const std::string ini = exampleIni(), png = dir.file("x.png");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"nosuchcommand"},
           {"render", ini, "-o", png},
           {"layout", ini, "--view", "MainView", "--size", "800x"},
           {"layout", ini, "--view", "MainView", "--size", "0x600"},
           {"render", ini, "--view", "MainView", "--size", "big", "-o", png},
           {"render", ini, "--view", "MainView", "-o", png, "--set", "Bold=maybe"},
           {"render", ini, "--view", "MainView", "-o", png, "--status", "no equals sign"},
           {"layout", ini, "--view", "MainView", "--frobnicate"},
           {"call", ini, "a.zcall", "b.zcall"}}) {
    const auto r = zadeve(args);
    std::string shown;
    for (const auto& a : args) shown += a + " ";
    EXPECT_EQ(r.status, ExitUsage) << shown;
    EXPECT_TRUE(oneLine(r.err)) << shown << "\n" << r.err;
    EXPECT_EQ(r.out, "") << shown;
  }
  EXPECT_NE(zadeve({"layout", ini, "--view", "MainView", "--size", "800x"}).err.find("malformed size 800x"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(png)) << "nothing is drawn on a usage error";
}

TEST(ToolConventions, AMissingFileOrAnUnknownViewIsOneLineNamingTheFile) {
  support::TempDir dir;
  const std::string missing = dir.file("NONE.INI");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  for (const auto& c : std::vector<Case>{
           {{"layout", missing, "--view", "MainView"}, "zadeve: " + missing + ": no such file\n"},
           {{"render", missing, "--view", "MainView", "-o", dir.file("x.png")}, "zadeve: " + missing + ": no such file\n"},
           {{"call", missing, "-"}, "zadeve: " + missing + ": no such file\n"},
           {{"call", exampleIni(), dir.file("none.zcall")}, "zadeve: " + dir.file("none.zcall") + ": no such file\n"},
           {{"layout", exampleIni(), "--view", "NoView"},
            "zadeve: " + exampleIni() + ": no view NoView (no [NoView.Toolbars] with a BarCount)\n"},
           {{"layout", exampleIni(), "--view", "MainView", "--float", "Nothing"},
            "zadeve: " + exampleIni() + ": MainView: frmMain has no bar Nothing\n"}}) {
    const auto r = zadeve(c.args);
    EXPECT_EQ(r.status, ExitFailed) << c.err;
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.out, "");
  }
}

TEST(ToolConventions, TextIsUtf8Throughout) {
  support::TempDir dir;
  const std::string ini = dir.write("BARS.INI",
                                    "[Ansicht.Toolbars]\nBarCount=1\nBar0=Name=Übersicht;Home=TOP;Visible=Yes\n"
                                    "[Functions]\nGrüße=PUSH,,Grüße \"zurück\"|~0~0\n"
                                    "[Toolbar.Übersicht]\nButtonCount=1\nButton0=Grüße\n");
  const auto layout = zadeve({"layout", ini, "--view", "Ansicht", "--json"});
  ASSERT_EQ(layout.status, ExitOk) << layout.err;
  EXPECT_NE(layout.out.find("\"name\": \"Übersicht\", \"edge\": \"TOP\""), std::string::npos) << layout.out;
  const auto call = zadeve({"call", ini, dir.write("u.zcall", "form Main 400x300\nKaTSetup Main Ansicht\n"
                                                              "KaSetButtonTip Main Grüße \"Grüße „neu“\"\n"
                                                              "KaTBarName Main.Übersicht\n")});
  ASSERT_EQ(call.status, ExitOk) << call.err;
  EXPECT_NE(call.out.find("KaTBarName(Main.Übersicht) = \"Übersicht\"\n"), std::string::npos) << call.out;
  EXPECT_NE(call.out.find("KaSetButtonTip(Main, \"Grüße\", \"Grüße „neu“\")\n"), std::string::npos) << call.out;
}

}  // namespace
}  // namespace zadeve::cli
