#include <gtest/gtest.h>

#include <filesystem>

#include "cli/run_zadeve.h"
#include "platform/current_directory.h"
#include "support/temp_dir.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

std::string examples() { return (fs::path(ZADEVE_TEST_DATA).parent_path().parent_path() / "examples").string(); }

bool isPng(const std::string& path) { return support::TempDir::read(path).rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

TEST(DemoCommand, BuildsTheExampleViewAndDrawsIt) {
  support::TempDir dir;
  const std::string before = platform::currentDirectory();
  const std::string png = dir.file("main.png");
  auto r = zadeve({"demo", "--examples", examples(), "--png", png});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(platform::currentDirectory(), before) << "the demo puts the current directory back";
  for (const std::string& line : std::vector<std::string>{
           "  form    frmMain, 800 x 600 px = 12000 x 9000 twips\n", "Reports through MsgBoxSub: 2\n",
           "  1. Toolbar setup error - missing function: Export.\n",
           "  2. Toolbar setup error - unknown function: !WRAP.\n", "Bars on frmMain: 7, 7 registered in TBM\n",
           "  bar(0)  File    TOP     left 0 top 0 width 12000 height 450 twips = (0, 0) 800 x 30 px\n",
           "  bar(6)  Tools   TOP     hidden\n",
           "User clicks \"Bold\" on bar(1): frmMain received bar(1) ButtonClick Bold\n",
           "Unloaded frmMain: TBM holds 0 bars\n", "\nFree rectangle: left ",
           "Floated Format (bar(1)): palette (400, 300) 220 x 82 px, owned by frmMain, host bar hidden, "
           "State=Floating, application heard REFRESHTOOLBAR\n",
           "  frmMain ran FontSize_SpinUp (aCmdFlag 0)\n", "  frmMain ran Bold (aCmdFlag 0)\n",
           // the host's side of its commands: function state, a status panel, a combo
           "  frmMain ran Bold (aCmdFlag 1)\n  KaSetFunctionState put every Bold button in step: bar(1) on\n",
           "  StatusText panel reads \"Font size 9\"\n", "  Bold buttons of frmMain: bar(1) off, palette off\n",
           "Host fills FontName with KaAddFunctionListItem (Serif, Sans, Mono) on 2 combos; "
           "KaSetItemIndexByText \"sans\" selects Sans (data 2)\n",
           "User drags the palette's right edge to half its width: the palette snaps to (400, 300) 148 x 82 px",
           "Picture of the screen: " + png + " (824 x 642 px): frmMain and its palette\n",
           "User docks it through the palette's menu: host bar visible, State=Docked, FloatPos=6000,4500,2220,1230\n",
           // the tour's steps before the main road, each the command a person would type
           "$ zadeve check " + examples() + "/BARS.INI\n",
           "/BARS.INI:74: error: Toolbar setup error - missing function: Export.",
           "$ zadeve layout " + examples() + "/BARS.INI --view MainView --size 800x600\n",
           "free rectangle: left ",
           "$ zadeve render " + examples() + "/BARS.INI --view MainView --size 800x600 --float Format --set Bold=on "
           "--status \"StatusText=Rendered by zadeve\" -o " +
               dir.file("main-render.png") + "\n",
           "Pictures: " + png + " (the main road, palette over the form), " + dir.file("main-render.png")})
    EXPECT_NE(r.out.find(line), std::string::npos) << "missing: " << line << "in:\n" << r.out;
  EXPECT_TRUE(isPng(png));
  EXPECT_TRUE(isPng(dir.file("main-render.png")));
  EXPECT_LT(r.out.find("== Check"), r.out.find("== Lay the view out"));
  EXPECT_LT(r.out.find("== Render"), r.out.find("== The main road"));

  // Without --png the picture is demo.png in the current directory, at the size asked.
  platform::changeDirectory(dir.path().string());
  r = zadeve({"demo", "--examples", examples(), "--width", "500", "--height", "300"});
  platform::changeDirectory(before);
  EXPECT_NE(r.out.find("frmMain, 500 x 300 px = 7500 x 4500 twips"), std::string::npos) << r.err;
  EXPECT_TRUE(isPng(dir.file("demo.png")));
}

TEST(DemoCommand, AMissingConfigurationOrABadSizeIsRefused) {
  support::TempDir dir;
  auto missing = zadeve({"demo", "--examples", dir.file("nowhere"), "--png", dir.file("x.png")});
  EXPECT_EQ(missing.status, ExitFailed);
  EXPECT_NE(missing.err.find("no configuration at"), std::string::npos);
  EXPECT_EQ(zadeve({"demo", "--examples", examples(), "--width", "10"}).status, ExitUsage);
  auto unwritable = zadeve({"demo", "--examples", examples(), "--png", dir.file("no/such/folder/x.png")});
  EXPECT_EQ(unwritable.status, ExitFailed);
  EXPECT_NE(unwritable.err.find("error 75"), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace zadeve::cli
