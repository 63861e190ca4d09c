#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include <sys/stat.h>

#include "automation/conversions.h"
#include "cli/run_zadeve.h"
#include "cli/show_session.h"
#include "platform/headless_windowing.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;
using automation::ObjectRef;

std::string replaced(std::string text, const std::string& what, const std::string& with) {
  const auto at = text.find(what);
  EXPECT_NE(at, std::string::npos) << what;
  return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

// The user's story with `zadeve show --watch`: a bar floated and moved, the file edited,
// broken and mended, a bitmap taken away and put back, with the window up all along.
TEST(ShowSession, RebuildsInPlaceKeepingFloatedBarsWhereTheyStoodAndReportsInsteadOfBoxes) {
  support::TempDir dir;
  for (const char* name : {"BARS.INI", "icons16.bmp", "icons24.bmp"})
    fs::copy_file(sourceRoot() / "examples" / "diagram" / name, dir.path() / name);
  const std::string ini = dir.file("BARS.INI"), original = support::TempDir::read(ini);
  auto screen = std::make_shared<platform::HeadlessWindowing>();
  ShowSession show({ini, "", "DiagramView", "800x600", true}, screen);
  auto& form = show.form();
  auto& host = show.host();
  const size_t boxes = screen->messagesShown();

  show.build();
  EXPECT_EQ(form.caption(), "DiagramView - BARS.INI - zadeve show");
  EXPECT_TRUE(show.reports().empty()) << show.reports().front();
  const auto bitmaps = fs::path(host.bitmaps());
  EXPECT_EQ(viewFiles(host.library()), (std::vector<std::string>{fs::path(ini).lexically_normal().string(),
                                                                   (bitmaps / "icons16.bmp").string(),
                                                                   (bitmaps / "icons24.bmp").string()}));
  EXPECT_FALSE(show.filesChanged());

  // Right-click on docked bars: Format floats, Zoom hides; Format's palette is moved.
  const auto pick = [&](const char* bar, const char* item) {
    screen->pickInNextMenu(item);
    host.bar(form, bar)->contextMenu(0, 0);
  };
  pick("Format", "Float");
  pick("Zoom", "Hide");
  auto palette = HostSession::paletteOf(*host.bar(form, "Format"));
  ASSERT_TRUE(palette);
  EXPECT_FALSE(host.bar(form, "Zoom")->visible());
  // Hidden bars are offered back on any docked bar's menu; Pages is hidden by the file.
  pick("Standard", "Show Zoom");
  EXPECT_EQ(screen->menus().back().items, (std::vector<std::string>{"Float", "Hide", "Show Zoom", "Show Pages"}));
  EXPECT_TRUE(host.bar(form, "Zoom")->visible());
  pick("Zoom", "Hide");
  auto place = screen->windowRect(palette->hWnd());
  place = {place.left + 300, place.top + 120, place.right + 300, place.bottom + 120};
  screen->moveWindow(palette->hWnd(), place);

  const auto rebuiltAfter = [&](const std::function<void()>& change) {
    change();
    EXPECT_TRUE(show.filesChanged());
    show.rebuild();
    EXPECT_FALSE(show.filesChanged());
    EXPECT_TRUE(form.loaded());
  };
  const auto rebuiltAs = [&](const std::string& text) { rebuiltAfter([&] { dir.write("BARS.INI", text); }); };
  const auto floatsWhereItStood = [&](const char* when) {
    auto again = HostSession::paletteOf(*host.bar(form, "Format"));
    ASSERT_TRUE(again) << when;
    EXPECT_EQ(screen->windowRect(again->hWnd()), place) << when;
    EXPECT_EQ(palette::FrmToolPalette::loadedPalettes().size(), 1u) << when;
  };

  // An edit: the bars are built anew from the file, Format floats again where it stood and
  // Zoom, which the file shows, is back.
  rebuiltAs(replaced(original, "Button10=FillColour", "Button10=FillColour\nButton11=Bold"));
  floatsWhereItStood("after an edit");
  EXPECT_TRUE(host.bar(form, "Zoom")->visible());
  EXPECT_EQ(form.bars().count(), 10);
  EXPECT_TRUE(show.reports().empty()) << show.reports().front();

  // Broken: the library's own box and a missing view become reports; nothing is thrown,
  // and once mended the bar floats again where it stood.
  rebuiltAs(replaced(original, "BarCount=10", "BarCount=ten"));
  ASSERT_EQ(show.reports().size(), 1u);
  EXPECT_EQ(show.reports()[0].rfind("Error In KatSetup Line=", 0), 0u) << show.reports()[0];
  rebuiltAs(replaced(original, "[DiagramView.Toolbars]", "[DiagramViews.Toolbars]"));
  ASSERT_EQ(show.reports().size(), 1u);
  EXPECT_NE(show.reports()[0].find("no view DiagramView"), std::string::npos) << show.reports()[0];
  EXPECT_TRUE(palette::FrmToolPalette::loadedPalettes().empty());
  rebuiltAs(original);
  floatsWhereItStood("after mending the file");
  EXPECT_TRUE(show.reports().empty()) << show.reports().front();

  // A bitmap taken away is seen, reported once however many buttons it fails, and its
  // return is seen too.
  rebuiltAfter([&] { fs::rename(dir.file("icons16.bmp"), dir.file("away.bmp")); });
  ASSERT_FALSE(show.reports().empty());
  EXPECT_NE(show.reports()[0].find("icons16.bmp"), std::string::npos) << show.reports()[0];
  EXPECT_EQ(show.reports()[0].find('\n'), std::string::npos);
  rebuiltAfter([&] { fs::rename(dir.file("away.bmp"), dir.file("icons16.bmp")); });
  EXPECT_TRUE(show.reports().empty()) << show.reports().front();
  EXPECT_EQ(screen->messagesShown(), boxes) << "a modal box was shown: " << screen->messages().back().text;

  // Docked through its palette's menu, the bar stays docked from then on.
  screen->pickInNextMenu("Dock");
  automation::objectAs<vizevore::ReVivezav>(HostSession::paletteOf(*host.bar(form, "Format"))->bar())->contextMenu(0, 0);
  ASSERT_FALSE(HostSession::paletteOf(*host.bar(form, "Format")));
  show.rebuild();
  EXPECT_TRUE(palette::FrmToolPalette::loadedPalettes().empty());
  EXPECT_TRUE(host.bar(form, "Format")->visible());
}

// What a save can look like to the poll: each step is one change, seen once, and a FIFO
// put in the file's place is seen without the poll waiting on it.
TEST(ShowSession, FileWatchSeesEveryKindOfSaveOnceAndNeverWaits) {
  support::TempDir dir;
  const std::string file = dir.write("icons.bmp", "BM one");
  FileWatch watch;
  watch.watch({file});
  const auto sameTime = fs::last_write_time(file);
  const auto step = [&](const char* what, bool changed) { EXPECT_EQ(watch.changed(), changed) << what; };
  step("nothing", false);
  dir.write("icons.bmp", "BM two");
  fs::last_write_time(file, sameTime);
  step("the same size and time, other bytes", true);
  dir.write("icons.bmp", "BM two");
  step("saved again as it is: a save all the same", true);
  fs::remove(file);
  step("taken away", true);
  step("still away", false);
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  step("a FIFO in its place", true);
  fs::remove(file);
  dir.write("icons.bmp", "BM two");
  step("back as a file", true);
  // A file watched again keeps what was seen of it; a new one is seen from now on.
  dir.write("icons.bmp", "BM three");
  watch.watch({file, dir.write("BARS.INI", "[V.Toolbars]")});
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
}

TEST(ShowSession, FailsFastOnAViewTheFileDoesNotHaveAndOutsideTheWindowsBuild) {
  auto screen = std::make_shared<platform::HeadlessWindowing>();
  ShowSession show({exampleIni(), "", "NoSuchView", "640x480", false}, screen);
  EXPECT_THROW(show.build(), CommandError);
#ifndef _WIN32
  const auto r = zadeve({"show", exampleIni(), "--view", "MainView"});
  EXPECT_EQ(r.status, ExitFailed);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("only the Windows build (zadeve.exe)"), std::string::npos) << r.err;
#endif
}

}  // namespace
}  // namespace zadeve::cli
