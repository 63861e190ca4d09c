#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include <sys/stat.h>

#include "cli/cli_files.h"
#include "cli/run_zadeve.h"

namespace zadeve::cli {
namespace {

bool oneLine(const std::string& text) { return !text.empty() && text.find('\n') == text.size() - 1; }

TEST(ToolConventions, HelpOnEveryCommandAndAVersion) {
  for (const std::string command :
       {"", "ini", "ini get", "ini set", "ini delete-section", "demo", "render", "layout", "call", "show"}) {
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
           {"call", ini, "a.zcall", "b.zcall"},
           {"show", ini},
           {"show", ini, "--view", "MainView", "--size", "0x600"}}) {
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

// Every input that once gave a message beside the point (no such file, no view, line 1 is
// neither ...) names the file and the real reason, and nothing waits on a FIFO or a device.
TEST(ToolConventions, MisleadingInputsNameTheirReason) {
  support::TempDir dir;
  const std::string ini = "[V.Toolbars]\r\nBarCount=0\r\n";
  auto utf16 = [&](bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ini) out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
  };
  std::filesystem::create_directory(dir.path() / "folder");
  const std::string fifo = dir.file("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string locked = dir.write("locked.ini", ini);
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  std::FILE* probe = std::fopen(locked.c_str(), "rb");
  const bool lockedReadable = probe != nullptr;
  if (probe) std::fclose(probe);
  struct Case {
    std::string file, reason;
  };
  std::vector<Case> cases{
      {dir.file("folder"), "is a folder, not a file"},
      {fifo, "is a named pipe (FIFO), not a regular file"},
      {"/dev/zero", "is a device, not a regular file"},
      {dir.write("empty.ini", ""), "is empty"},
      {dir.write("le.ini", utf16(true)), "is saved as UTF-16 little-endian (it starts"},
      {dir.write("be.ini", utf16(false)), "is saved as UTF-16 big-endian (it starts"},
      {dir.write("utf32.ini", std::string("\xFF\xFE\0\0[\0\0\0", 8)), "is saved as UTF-32 little-endian (it starts"},
      {dir.write("nobom.ini", utf16(true).substr(2)), "holds NUL bytes (UTF-16 without a byte-order mark"},
  };
  // Whoever may read anything (root) reads a file without permissions too.
  if (!lockedReadable) cases.push_back({locked, "cannot be read: permission denied"});
  for (const auto& c : cases) {
    struct Command {
      std::vector<std::string> args;
      int status;
    };
    for (const auto& command : std::vector<Command>{{{"layout", c.file, "--view", "V"}, ExitFailed},
                                                    {{"render", c.file, "--view", "V", "-o", dir.file("x.png")}, ExitFailed},
                                                    {{"call", c.file, "-"}, ExitFailed},
                                                    {{"check", c.file}, ExitUsage}}) {
      const auto r = zadeve(command.args);
      EXPECT_EQ(r.status, command.status) << command.args[0] << " " << c.file;
      EXPECT_TRUE(oneLine(r.err)) << r.err;
      EXPECT_NE(r.err.find(c.file + ": " + c.reason), std::string::npos) << command.args[0] << ": " << r.err;
    }
  }
  // The bitmap folder, a language file and a bitmap named as such.
  const std::string clean = dir.write("BARS.INI", "[V.Toolbars]\nBarCount=1\nBar0=Name=T;Visible=Yes\n[Functions]\n"
                                                  "IconSetCount=1\nIconSet0=fifo.ini,16,15\nA=PUSH,0/0,A|\n"
                                                  "[Toolbar.T]\nButtonCount=1\nButton0=A\n");
  struct Other {
    std::vector<std::string> args;
    int status;
    std::string said;
  };
  for (const auto& o : std::vector<Other>{
           {{"layout", clean, "--view", "V", "--bitmaps", clean}, ExitFailed, clean + ": is not a folder"},
           {{"render", clean, "--view", "V", "--bitmaps", dir.file("none"), "-o", dir.file("x.png")}, ExitFailed,
            dir.file("none") + ": no such folder"},
           {{"check", clean, "--bitmaps", clean}, ExitUsage, clean + "/: is not a folder"},
           {{"check", clean, "--lang", fifo}, ExitUsage, fifo + ": is a named pipe (FIFO)"}}) {
    const auto r = zadeve(o.args);
    EXPECT_EQ(r.status, o.status) << o.said;
    EXPECT_NE(r.err.find(o.said), std::string::npos) << r.err;
  }
  const auto r = zadeve({"check", clean});
  EXPECT_NE(r.out.find(":6: error: the bitmap of IconSet0 does not load: " + fifo + " is a named pipe (FIFO)"),
            std::string::npos)
      << r.out;
}

// Twips are 16-bit: 32767 twips at 15 to a pixel is 2184 pixels a side.
TEST(ToolConventions, ASizeBeyondSixteenBitTwipsIsAUsageErrorNamingTheLargest) {
  const std::string ini = exampleIni();
  for (const char* size : {"3000x600", "800x2185"}) {
    const auto r = zadeve({"layout", ini, "--view", "MainView", "--size", size});
    EXPECT_EQ(r.status, ExitUsage) << size;
    EXPECT_TRUE(oneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("each side from 1 to 2184 pixels"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
  const auto largest = zadeve({"layout", ini, "--view", "MainView", "--size", "2184x2184", "--json"});
  EXPECT_EQ(largest.status, ExitOk) << largest.err;
  EXPECT_NE(largest.out.find("\"twips\": {\"width\": 32760, \"height\": 32760}"), std::string::npos) << largest.out;
}

// A floating bar whose Visible is No has a hidden toolbar in its palette: no menu opens,
// and the message says so rather than blaming the floating menu.
TEST(ToolConventions, DockingAHiddenBarSaysWhyItCannot) {
  support::TempDir dir;
  const auto r = zadeve({"call", exampleIni(),
                         dir.write("dock.zcall", "form Main 800x600\nKaTSetup Main MainView\nfloat Main Tools\n"
                                                 "dock Main Tools\n")});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_NE(r.err.find("dock.zcall:4: error: Tools cannot dock through its palette's menu: the palette's toolbar is hidden "
                       "(the bar has Visible=No, not Yes)"),
            std::string::npos)
      << r.err;
}

// The README shows examples/script/hello.vbs as it is; the Wine suite runs the file.
TEST(ToolConventions, TheReadmeShowsTheHelloScriptVerbatim) {
  const std::string readme = support::TempDir::read((sourceRoot() / "README.md").string());
  const auto named = readme.find("(`examples/script/hello.vbs`):");
  ASSERT_NE(named, std::string::npos);
  const auto begin = readme.find("```vb\n", named);
  ASSERT_NE(begin, std::string::npos);
  const auto end = readme.find("```\n", begin + 6);
  EXPECT_EQ(readme.substr(begin + 6, end - begin - 6),
            support::TempDir::read((sourceRoot() / "examples" / "script" / "hello.vbs").string()));
}

}  // namespace
}  // namespace zadeve::cli
