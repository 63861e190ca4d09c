#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "cli/cli_files.h"
#include "cli/host_session.h"
#include "cli/run_zadeve.h"

namespace zadeve::cli {
namespace {

using automation::ObjectRef;
using automation::Variant;

// The example's two deliberate problems are reported as check reports them, once each,
// although floating File fills its bar a second time in a palette.
TEST(LayoutCommand, JsonOfTheExampleViewMatchesItsGoldenAndTheReportsGoToStandardError) {
  auto r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Draw", "--float", "File", "--json"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  EXPECT_EQ(r.err, exampleIni() + ":74: error: Toolbar setup error - missing function: Export. [MainView/File/Button12]\n" +
                       exampleIni() + ":84: error: Toolbar setup error - unknown function: !WRAP. [MainView/Format/Button5]\n");
  r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Draw", "--json"});
  expectGolden(r.out, "layout_mainview_float_draw.json");
}

// A bar count KaTSetup refuses: the report on its line, an empty form all the same, and
// with --strict a failure; render alike.
TEST(LayoutCommand, ALibraryReportIsPrintedAndFailsOnlyWithStrict) {
  support::TempDir dir;
  const std::string ini = dir.write("BARS.INI", "[V.Toolbars]\nBarCount=-1\n");
  const std::string report = ini + ":2: error: Toolbar configuration error. BarCount=-1 [V]\n";
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  for (const auto& c : std::vector<Case>{{{"layout", ini, "--view", "V"}, ExitOk},
                                         {{"layout", ini, "--view", "V", "--strict"}, ExitFailed},
                                         {{"render", ini, "--view", "V", "-o", dir.file("v.png")}, ExitOk},
                                         {{"render", ini, "--view", "V", "--strict", "-o", dir.file("v.png")}, ExitFailed}}) {
    const auto r = zadeve(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args.back();
    EXPECT_EQ(r.err, report);
    EXPECT_NE(r.out, "") << "the command goes on";
  }
}

// The free rectangle printed is the one KaTLayout hands a host that calls it itself on the
// same setup, floated bars and all.
TEST(LayoutCommand, FreeRectangleIsWhatKaTLayoutReturns) {
  struct Case {
    std::string size;
    std::vector<std::string> floats;
  };
  for (const auto& c : std::vector<Case>{{"800x600", {}}, {"640x480", {"Draw"}}, {"333x222", {"View", "Status"}}}) {
    std::vector<std::string> args{"layout", exampleIni(), "--view", "MainView", "--size", c.size, "--json"};
    for (const auto& f : c.floats) args.insert(args.end(), {"--float", f});
    const auto r = zadeve(args);
    ASSERT_EQ(r.status, ExitOk) << r.err;

    HostSession session(exampleIni());
    session.initialise();
    auto& form = session.addForm("frmDirect", *parseSize(c.size));
    automation::callMethod(session.library(), "KaTSetup", {Variant(ObjectRef(&form)), "MainView"});
    for (const auto& f : c.floats)
      automation::callMethod(session.library(), "KaTFloat",
                             {Variant(ObjectRef(&form)), Variant(ObjectRef(session.bar(form, f)))});
    // Typed, as a host declares them: the runtime copies back only what changed.
    Variant vl(int16_t{0}), vt(int16_t{0}), vr(int16_t{0}), vb(int16_t{0});
    automation::callMethod(session.library(), "KaTLayout",
                           {Variant(ObjectRef(&form)), automation::byRef(vl), automation::byRef(vt),
                            automation::byRef(vr), automation::byRef(vb)});
    const std::string expected = "\"free\": {\"twips\": {\"left\": " + automation::toString(vl) + ", \"top\": " +
                                 automation::toString(vt) + ", \"right\": " + automation::toString(vr) +
                                 ", \"bottom\": " + automation::toString(vb) + "}";
    EXPECT_NE(r.out.find(expected), std::string::npos) << c.size << ": want " << expected << " in\n" << r.out;
  }
}

TEST(LayoutCommand, TableHasAHeaderARowPerBarAndTheFreeRectangle) {
  const auto r = zadeve({"layout", exampleIni(), "--view", "MainView", "--float", "Format"});
  ASSERT_EQ(r.status, ExitOk) << r.err;
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(r.out.substr(at, end - at));
  ASSERT_EQ(lines.size(), 10u) << r.out;  // title, header, 7 bars, free rectangle
  EXPECT_EQ(lines[0], "MainView on frmMain, 800 x 600 px = 12000 x 9000 twips");
  // Numbers are right-aligned under their header: every row ends where the header does.
  for (size_t i = 2; i < 9; ++i) EXPECT_EQ(lines[i].size(), lines[1].size()) << lines[i];
  EXPECT_EQ(lines[2].rfind("  0  File    TOP     docked", 0), 0u) << lines[2];
  EXPECT_EQ(lines[3].rfind("  1  Format  TOP     floating", 0), 0u) << lines[3];
  EXPECT_EQ(lines[8].rfind("  6  Tools   TOP     hidden", 0), 0u) << lines[8];
  EXPECT_EQ(lines[9].rfind("free rectangle: left ", 0), 0u) << lines[9];
}

}  // namespace
}  // namespace zadeve::cli
