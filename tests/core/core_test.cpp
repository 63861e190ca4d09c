#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "automation/dispatch.h"
#include "components/text_catalog.h"
#include "core/message_format.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/profile_seam.h"
#include "support/fake_object.h"
#include "support/headless_screen.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::byRef;
using automation::callMethod;
using automation::makeObject;
using support::FakeObject;

class ConfigAccess : public ::testing::Test {
 protected:
  void useFile(const std::string& content) { lib->BarsConfigFile(dir.write("BARS.INI", content)); }
  std::string get(const std::string& s, const std::string& k, const std::string& d) {
    return automation::toString(lib->GetConfigValue(s, k, d));
  }
  support::TempDir dir;
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
};

// Sections and keys in any case; values cut to 255 characters; a missing, unreadable or
// garbled file reads as the defaults.
TEST_F(ConfigAccess, ReadsValuesAndDefaultsAndSeesItsOwnWrites) {
  std::string v255(255, 'a'), garbage;
  useFile("[Toolbar.Main]\r\nButtonCount=3\r\n[S]\r\nA=" + v255 + "b\r\n");
  EXPECT_EQ(get("toolbar.main", "BUTTONCOUNT", "0"), "3");
  EXPECT_EQ(get("Toolbar.Missing", "ButtonCount", "0"), "0");
  EXPECT_EQ(get("S", "A", ""), v255);
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
  for (const std::string& file : {dir.file("nowhere.ini"), dir.path().string(), dir.write("bad.ini", garbage)}) {
    lib->BarsConfigFile(file);
    EXPECT_EQ(get("Functions", "IconSetCount", "d"), "d") << file;
  }
  // Writes are seen by the next read.
  useFile("[S]\r\nK=old\r\n");
  EXPECT_EQ(lib->SetConfigValue("S", "K", "new"), Variant(int16_t(1)));
  EXPECT_EQ(get("S", "K", ""), "new");
  EXPECT_EQ(callMethod(*lib, "SetConfigValue", {Variant("T"), Variant("A"), Variant(5)}), Variant(int16_t(1)));
  EXPECT_EQ(get("T", "A", ""), "5");
  Variant section("S");
  EXPECT_EQ(callMethod(*lib, "ClearConfigSection", {byRef(section)}), Variant(int16_t(1)));
  EXPECT_EQ(get("S", "K", "gone"), "gone");
  EXPECT_EQ(get("T", "A", ""), "5");

  lib->BarsConfigFile(dir.file("missing-folder/BARS.INI"));
  EXPECT_EQ(lib->SetConfigValue("S", "K", "v"), Variant(int16_t(0)));
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing-folder")));
}

TEST_F(ConfigAccess, GetIconSetNumberFindsTheFirstWholeMatch) {
  const char* three = "[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=Big\nIconSet3=Late\n";
  const char* std2 = "[Functions]\nIconSetCount=2\nIconSet0=std.bmp,16,15\n";
  const struct { const char *file, *name; bool found; int16_t number; } cases[] = {
      {three, "Big", true, 1}, {three, "Std", true, 0},
      {three, "big", false, 3},   // case-sensitive; left at the next free number
      {three, "Late", false, 3},  // beyond the count
      {std2, "std.bmp", false, 2}, {std2, "std.bmp,16,15", true, 0},
      {"[Functions]\nIconSetCount=2\n", "!NONE", true, 0},  // a missing entry reads as its default
  };
  for (const auto& c : cases) {
    useFile(c.file);
    Variant number(int16_t(-5));
    EXPECT_EQ(callMethod(*lib, "GetIconSetNumber", {Variant(c.name), byRef(number)}), Variant(c.found)) << c.name;
    EXPECT_EQ(number, Variant(c.number)) << c.name;
  }
  useFile("[Functions]\nIconSetCount=many\n");
  int16_t n = 0;
  EXPECT_AUTOMATION_ERROR(lib->GetIconSetNumber("x", n), 13, "Type mismatch");
}

// GetIconSetNumber makes one lookup per entry but checks the file once per call; each call,
// and each single GetConfigValue, sees the file as it is when it begins.
TEST_F(ConfigAccess, EachCallChecksTheFileOnceAndSeesEditsMadeBeforeIt) {
  const std::string sets = "[Functions]\nIconSetCount=3\nIconSet0=Std\nIconSet1=Big\nIconSet2=";
  useFile(sets + "Old\n");
  platform::SeamFileSystem counting;
  counting.statPath = lib->BarsConfigFile();
  int16_t number = 0;
  EXPECT_TRUE(lib->GetIconSetNumber("Old", number));
  EXPECT_EQ(counting.stats, 1);
  useFile(sets + "New\n");
  Variant found(int16_t(0));
  EXPECT_EQ(callMethod(*lib, "GetIconSetNumber", {Variant("New"), byRef(found)}), Variant(true));
  EXPECT_EQ(found, Variant(int16_t(2)));
  EXPECT_EQ(counting.stats, 2);
  useFile(sets + "Now\n");
  EXPECT_EQ(get("Functions", "IconSet2", ""), "Now");
  EXPECT_EQ(counting.stats, 3);
}

// The template is looked up in the process-wide catalogue (never a workspace's) before it
// is filled, so a translation keeps its placeholders.
TEST(FormatMessageText, TranslatesThroughTheProcessCatalogueFirstThenFills) {
  Variant args[] = {Variant(int16_t(7)), Variant("Std")};
  EXPECT_EQ(FormatMessageText("Missing^nbutton: Button^1 of ^2, ^1.", args), "Missing\r\nbutton: Button7 of Std, 7.");
  support::TempDir dir;
  auto& catalog = components::processCatalog();
  catalog.LoadLanguageFile(dir.write("de.po", "msgid \"Missing^nbutton: ^1\"\nmsgstr \"Fehlt^nKnopf: ^1\"\n"));
  Variant b7[] = {Variant("B7")};
  const std::string text = FormatMessageText("Missing^nbutton: ^1", b7);
  catalog.LoadLanguageFile(dir.write("none.po", ""));  // as the other tests expect it
  EXPECT_EQ(text, "Fehlt\r\nKnopf: B7");
}

// The text goes to MsgBoxSub with style 1; without a host object the report fails.
TEST(ReportToHost, HandsTheTextToMsgBoxSubWithOne) {
  auto lib = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(LibraryInternals::ReportToHost(*lib, "x", {}), 91, "not set");
  auto app = makeObject<FakeObject>("App");
  app->acceptAnyCall();
  lib->ShellApplicationObject(app);
  LibraryInternals::ReportToHost(*lib, "^1^nwhile processing: ^2", {Variant("File not found"), Variant("2")});
  EXPECT_EQ(app->log(), std::vector<std::string>{"MsgBoxSub(\"File not found\r\nwhile processing: 2\", 1:Long)"});
}

class LibraryTest : public ::testing::Test {
 protected:
  support::HeadlessScreen screen;
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
};

TEST(LibraryScreen, TwipsPerPixelAreRoundedHalfToEven) {
  for (auto [twips, expected] : {std::pair{15.0, 15}, {12.5, 12}, {13.5, 14}, {7.4, 7}}) {
    support::HeadlessScreen screen(twips);
    auto lib = makeObject<ZuzuzudLibrary>();
    EXPECT_EQ(lib->TwipsPerPixelX(), expected) << twips;
    EXPECT_EQ(lib->TwipsPerPixelY(), expected) << twips;
  }
}

// Each call stores on the current workspace and brings a fresh catalogue.
TEST_F(LibraryTest, InitialiseStoresEverythingOnTheCurrentWorkspace) {
  auto tbm = makeObject<FakeObject>("TBM");
  callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), Variant("bars.ini"), Variant("bmp/")});
  const auto& ws = *lib->CurrentWorkspace();
  EXPECT_TRUE(ws.TBM() == tbm);
  EXPECT_EQ(ws.BarsConfigFile(), "bars.ini");
  EXPECT_EQ(ws.BarsBitmapsDir(), "bmp/");
  ASSERT_TRUE(automation::objectAs<components::TextCatalog>(ws.LanguageCatalog()));
  EXPECT_TRUE(tbm->calls().empty());
}

// The host starts with its texts as written, and the catalogue still tells a host that
// asks it directly what is wrong with the file.
TEST_F(LibraryTest, ALanguageFileThatWillNotLoadDoesNotStopTheStart) {
  support::TempDir dir;
  const std::string good = dir.write("de.po", "msgid \"Open\"\nmsgstr \"Oeffnen\"\n");
  const std::pair<std::string, int32_t> files[] = {
      {dir.file("none.po"), automation::err::FileNotFound},
      {dir.write("bad.po", "msgid \"Open\"\nmsgstr \"Auf\"\nmsgstr \"B\"\n"), components::InvalidFileFormat},
      {dir.path().string(), components::PathFileAccessError},
      // Opened as a plain read would, these two would block for a writer or read as empty.
      {dir.file("fifo.po"), components::PathFileAccessError},
      {"/dev/null", components::PathFileAccessError},
  };
  ASSERT_EQ(::mkfifo(dir.file("fifo.po").c_str(), 0666), 0);
  ::alarm(10);  // a load that blocks ends the test here instead of hanging it
  const auto start = std::chrono::steady_clock::now();
  for (const auto& [file, number] : files) {
    lib->InitialiseZADEVE(nullptr, "first.ini", "", good);
    callMethod(*lib, "InitialiseZADEVE", {Variant(ObjectRef()), Variant("c.ini"), Variant("bmp/"), Variant(file)});
    EXPECT_EQ(lib->BarsConfigFile(), "c.ini") << file;
    EXPECT_EQ(lib->BarsBitmapsDir(), "bmp/");
    auto catalog = lib->CurrentWorkspace()->LanguageCatalog();
    ASSERT_TRUE(catalog);
    EXPECT_EQ(callMethod(*catalog, "Translate", {Variant("Open")}), Variant("Open")) << file;
    EXPECT_AUTOMATION_ERROR(callMethod(*catalog, "LoadLanguageFile", {Variant(file)}), number, file);
  }
  ::alarm(0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_TRUE(screen->messages().empty());
}

TEST_F(LibraryTest, WorkspacesNestAndUnderflowFallsBackToTheDefault) {
  auto a = makeObject<ZuzuzudWorkspace>(), b = makeObject<ZuzuzudWorkspace>();
  LibraryInternals::PushWorkspace(*lib, a);
  a->BarsConfigFile("a.ini");
  LibraryInternals::PushWorkspace(*lib, b);
  EXPECT_TRUE(lib->CurrentWorkspace() == b);
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_EQ(lib->BarsConfigFile(), "a.ini");
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_TRUE(lib->CurrentWorkspace() == lib->DefaultWorkspace());
  EXPECT_EQ(lib->BarsConfigFile(), "");
  EXPECT_TRUE(screen->messages().empty());

  LibraryInternals::PopWorkspace(*lib);
  ASSERT_EQ(screen->messages().size(), 1u);
  EXPECT_EQ(screen->messages()[0].text, "Workspace stack underflow. Restoring default workspace.");
  EXPECT_EQ(screen->messages()[0].buttons, platform::MessageBoxButtons::Ok);
  EXPECT_TRUE(lib->CurrentWorkspace() == lib->DefaultWorkspace());
  EXPECT_EQ(lib->WorkspaceDepth(), 0);
}

TEST_F(LibraryTest, DestructionReleasesTheHostObjects) {
  auto app = makeObject<FakeObject>("App"), tbm = makeObject<FakeObject>("TBM"), bar = makeObject<FakeObject>("Bar");
  lib->InitialiseZADEVE(tbm, "", "");
  lib->ShellApplicationObject(app);
  lib->aBar(bar);
  auto ws = lib->DefaultWorkspace();
  EXPECT_EQ(app->refCount(), 2u);
  lib.reset();
  EXPECT_EQ(app->refCount(), 1u);
  EXPECT_EQ(tbm->refCount(), 1u);
  EXPECT_EQ(bar->refCount(), 1u);
  EXPECT_FALSE(ws->TBM());
}

}  // namespace
}  // namespace zadeve::core
