// The commands that build a view: call runs a script, layout prints where the bars went,
// render draws them, demo walks the whole road. Goldens pin the tour and the example's layout.

#include <gtest/gtest.h>

#include <filesystem>

#include "automation/dispatch.h"
#include "cli/call_script.h"
#include "cli/host_session.h"
#include "cli/run_zadeve.h"
#include "platform/current_directory.h"
#include "platform/headless_windowing.h"
#include "platform/picture.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;
using automation::ObjectRef;
using automation::Variant;

std::string script(const std::string& name) { return (sourceRoot() / "examples" / "calls" / name).string(); }
bool isPng(const std::string& path) { return support::TempDir::read(path).rfind("\x89PNG\r\n\x1a\n", 0) == 0; }

TEST(CallCommand, TheExampleScriptsRunAsTheGoldenAndTheHostExpect) {
  auto r = zadeve({"call", exampleIni(), script("tour.zcall")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.err, "");
  expectGolden(r.out, "call_tour.txt");
  // function_state: the click releases Bold; the host's own Bold command, off until then, turns it on.
  r = zadeve({"call", exampleIni(), script("function_state.zcall")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  expectGolden(r.out, "call_function_state.txt");
}

// A floating bar whose Visible is No has a hidden toolbar in its palette: no menu opens, and the
// message says so rather than blaming the floating menu.
TEST(CallCommand, StopsAtTheFirstErrorWithItsLineAndNumber) {
  support::TempDir dir;
  for (const auto& [text, err] : std::vector<std::pair<std::string, std::string>>{
           {"form Main 300x200\n# a comment\n\nKaTNoSuchMember Main\nform Other 10x10\n",
            ":4: error 438: Object doesn't support this property or method\n"},
           // without a form, Main is a word, and KaTSetup wants a form
           {"KaTSetup Main MainView\n", ":1: error 13: Type mismatch\n"},
           {"form Main 300x200\nclick Nowhere Format Bold\n", ":2: error: no form named Nowhere (make one with: form NAME WxH)\n"},
           {"form Main 300x200\nKaTSetup Main MainView\nfloat Main Sketchbook\n", ":3: error: Main has no bar Sketchbook\n"},
           {"form Main 3x\n", ":1: error: malformed size 3x (want WxH, e.g. 800x600)\n"},
           {"print \"open\n", ":1: error: a quoted text is not closed\n"},
           {"form Main 800x600\nKaTSetup Main MainView\nfloat Main Tools\ndock Main Tools\n",
            ":4: error: Tools cannot dock through its palette's menu: the palette's toolbar is hidden (the bar has "
            "Visible=No, not Yes) and a hidden toolbar opens no menu\n"}}) {
    const std::string path = dir.write("s.zcall", text);
    const auto r = zadeve({"call", exampleIni(), path});
    EXPECT_EQ(r.status, ExitFailed) << text;
    EXPECT_EQ(r.err, path + err) << text;
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
  for (const auto& [line, words] : std::vector<std::pair<std::string, std::vector<Word>>>{
           {"  KaTSetup\tMain  MainView ", {{"KaTSetup"}, {"Main"}, {"MainView"}}},
           {"click Main Draw \"Create Symbol:Ellipse\" # the user", {{"click"}, {"Main"}, {"Draw"}, {"Create Symbol:Ellipse", true}}},
           {"set $v \"say \\\"hi\\\" \\\\ #not a comment\"", {{"set"}, {"$v"}, {"say \"hi\" \\ #not a comment", true}}},
           {"KaTGetProp Main.Draw Home \"\"", {{"KaTGetProp"}, {"Main.Draw"}, {"Home"}, {"", true}}},
           {"# only a comment", {}},
           {"x#y", {{"x#y"}}}})
    EXPECT_EQ(splitWords(line), words) << line;
  EXPECT_THROW(splitWords("print \"a\"b"), ScriptError);
}

// The example's two deliberate problems go to standard error once each, although floating File
// fills its bar a second time in a palette.
TEST(LayoutCommand, JsonOfTheExampleViewMatchesItsGoldenAndTheReportsGoToStandardError) {
  auto r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Draw", "--float", "File", "--json"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.err, exampleIni() + ":74: error: Toolbar setup error - missing function: Export. [MainView/File/Button12]\n" +
                       exampleIni() + ":84: error: Toolbar setup error - unknown function: !WRAP. [MainView/Format/Button5]\n");
  r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Draw", "--json"});
  expectGolden(r.out, "layout_mainview_float_draw.json");
}

// A bar count KaTSetup refuses: the report on its line, an empty form all the same, and with
// --strict a failure; render alike.
TEST(LayoutCommand, ALibraryReportIsPrintedAndFailsOnlyWithStrict) {
  support::TempDir dir;
  const std::string ini = dir.write("BARS.INI", "[V.Toolbars]\nBarCount=-1\n");
  for (const auto& [args, status] : std::vector<std::pair<std::vector<std::string>, int>>{
           {{"layout", ini, "--view", "V"}, ExitOk},
           {{"layout", ini, "--view", "V", "--strict"}, ExitFailed},
           {{"render", ini, "--view", "V", "-o", dir.file("v.png")}, ExitOk},
           {{"render", ini, "--view", "V", "--strict", "-o", dir.file("v.png")}, ExitFailed}}) {
    const auto r = zadeve(args);
    EXPECT_EQ(r.status, status) << ::testing::PrintToString(args);
    EXPECT_EQ(r.err, ini + ":2: error: Toolbar configuration error. BarCount=-1 [V]\n");
    EXPECT_NE(r.out, "") << "the command goes on";
  }
}

// The free rectangle printed is the one KaTLayout hands a host that calls it itself on the same
// setup, floated bars and all.
TEST(LayoutCommand, FreeRectangleIsWhatKaTLayoutReturns) {
  for (const auto& [size, floats] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"800x600", {}}, {"333x222", {"View", "Status"}}}) {
    std::vector<std::string> args{"layout", exampleIni(), "--view", "MainView", "--size", size, "--json"};
    for (const auto& f : floats) args.insert(args.end(), {"--float", f});
    const auto r = zadeve(args);
    ASSERT_EQ(r.status, ExitOk) << r.err;
    HostSession session(exampleIni());
    session.initialise();
    auto& form = session.addForm("frmDirect", *parseSize(size));
    automation::callMethod(session.library(), "KaTSetup", {Variant(ObjectRef(&form)), "MainView"});
    for (const auto& f : floats)
      automation::callMethod(session.library(), "KaTFloat", {Variant(ObjectRef(&form)), Variant(ObjectRef(session.bar(form, f)))});
    // Typed, as a host declares them: the runtime copies back only what changed.
    Variant vl(int16_t{0}), vt(int16_t{0}), vr(int16_t{0}), vb(int16_t{0});
    automation::callMethod(session.library(), "KaTLayout",
                           {Variant(ObjectRef(&form)), automation::byRef(vl), automation::byRef(vt), automation::byRef(vr),
                            automation::byRef(vb)});
    const std::string expected = "\"free\": {\"twips\": {\"left\": " + automation::toString(vl) + ", \"top\": " +
                                 automation::toString(vt) + ", \"right\": " + automation::toString(vr) +
                                 ", \"bottom\": " + automation::toString(vb) + "}";
    EXPECT_NE(r.out.find(expected), std::string::npos) << size << ": want " << expected << " in\n" << r.out;
  }
}

// The table: a title, a header, a row per bar with its numbers right-aligned, the free rectangle.
TEST(LayoutCommand, TheTableOfTheExampleViewMatchesItsGolden) {
  const auto r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Format"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  expectGolden(r.out, "layout_mainview_float_format.txt");
}

class RenderCommand : public ::testing::Test {
 protected:
  struct Rendered {
    automation::Ref<platform::Picture> picture;
    std::string out;
  };
  Rendered render(std::vector<std::string> extra, const std::string& size = "800x600") {
    const std::string png = dir.file("view" + std::to_string(count++) + ".png");
    std::vector<std::string> args{"render", exampleIni(), "--view", "MainView", "--size", size, "-o", png};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto r = zadeve(args);
    EXPECT_EQ(r.status, ExitOk) << r.err;
    return {platform::readPicture(png), r.out};
  }
  // Pixels that differ inside a box, the second picture's box shifted by (dx, dy).
  static int differences(const platform::Picture& a, const platform::Picture& b, int x, int y, int w, int h, int dx = 0,
                         int dy = 0) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += a.pixel(i, j) != b.pixel(i + dx, j + dy);
    return n;
  }
  support::TempDir dir;
  int count = 0;
};

TEST_F(RenderCommand, FloatsStatesAndPanelsShowInThePicture) {
  const auto plain = render({});
  // Draw docks left below the two top bars (60 px) and is 34 px wide; the File bar above it does
  // not move when it floats.
  const auto floated = render({"--float", "Draw"});
  EXPECT_GT(differences(*plain.picture, *floated.picture, 0, 70, 30, 200), 1000);
  EXPECT_EQ(differences(*plain.picture, *floated.picture, 0, 0, 800, 30), 0);
  // Each changes something on the bars and nothing of the form's size.
  for (const auto& option : std::vector<std::vector<std::string>>{
           {"--set", "Bold=on"}, {"--set", "ZoomIn=disabled"}, {"--set", "FileSave=hidden"},
           {"--status", "StatusText=Drawing saved"}}) {
    const auto changed = render(option);
    EXPECT_GT(differences(*plain.picture, *changed.picture, 0, 0, 800, 600), 0) << option[1];
    EXPECT_EQ(changed.picture->width(), plain.picture->width()) << option[1];
  }
  // Off is how the example starts: the same picture.
  EXPECT_EQ(differences(*plain.picture, *render({"--set", "Bold=off"}).picture, 0, 0, 800, 600), 0);
}

// The whole tour is its golden, with the examples' folder and the output folder named by word. It
// runs where no examples/calls/diagram.zcall lies, so the tour ends without its script step.
TEST(DemoCommand, BuildsTheExampleViewAndDrawsIt) {
  support::TempDir dir;
  const std::string examples = (sourceRoot() / "examples").string();
  InDirectory in(dir.path());
  auto r = zadeve({"demo", "--examples", examples, "--png", dir.file("main.png")});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_TRUE(fs::equivalent(platform::currentDirectory(), dir.path())) << "the demo puts the current directory back";
  for (const auto& [path, word] : {std::pair{examples, "EXAMPLES"}, std::pair{dir.path().string(), "OUT"}})
    for (size_t at = 0; (at = r.out.find(path, at)) != std::string::npos;) r.out.replace(at, path.size(), word);
  expectGolden(r.out, "demo.txt");
  EXPECT_TRUE(isPng(dir.file("main.png")));
  EXPECT_TRUE(isPng(dir.file("main-render.png")));
  // Without --png the picture is demo.png in the current directory, at the size asked.
  r = zadeve({"demo", "--examples", examples, "--width", "500", "--height", "300"});
  EXPECT_NE(r.out.find("frmMain, 500 x 300 px = 7500 x 4500 twips"), std::string::npos) << r.err;
  EXPECT_TRUE(isPng(dir.file("demo.png")));
  // Refused: no configuration, a size too small, a picture that cannot be written.
  auto missing = zadeve({"demo", "--examples", dir.file("nowhere"), "--png", dir.file("x.png")});
  EXPECT_EQ(missing.status, ExitFailed);
  EXPECT_NE(missing.err.find("no configuration at"), std::string::npos);
  EXPECT_EQ(zadeve({"demo", "--examples", examples, "--width", "10"}).status, ExitUsage);
  auto unwritable = zadeve({"demo", "--examples", examples, "--png", dir.file("no/such/folder/x.png")});
  EXPECT_EQ(unwritable.status, ExitFailed);
  EXPECT_NE(unwritable.err.find("error 75"), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace zadeve::cli
