#include "core/zuzuzud_library.h"

#include <gtest/gtest.h>

#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

#include "automation/dispatch.h"
#include "components/text_catalog.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"
#include "support/headless_screen.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeObject;

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
  automation::callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), Variant("bars.ini"), Variant("bmp/")});
  const auto& ws = *lib->CurrentWorkspace();
  EXPECT_TRUE(ws.TBM() == tbm);
  EXPECT_EQ(ws.BarsConfigFile(), "bars.ini");
  EXPECT_EQ(ws.BarsBitmapsDir(), "bmp/");
  auto catalog = ws.LanguageCatalog();
  ASSERT_TRUE(automation::objectAs<components::TextCatalog>(catalog));
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
  // A load that blocks ends the test here instead of hanging it.
  ::alarm(10);
  const auto start = std::chrono::steady_clock::now();
  for (const auto& [file, number] : files) {
    lib->InitialiseZADEVE(nullptr, "first.ini", "", good);
    automation::callMethod(*lib, "InitialiseZADEVE",
                           {Variant(ObjectRef()), Variant("c.ini"), Variant("bmp/"), Variant(file)});
    EXPECT_EQ(lib->BarsConfigFile(), "c.ini") << file;
    EXPECT_EQ(lib->BarsBitmapsDir(), "bmp/");
    auto catalog = lib->CurrentWorkspace()->LanguageCatalog();
    ASSERT_TRUE(catalog);
    EXPECT_EQ(automation::callMethod(*catalog, "Translate", {Variant("Open")}), Variant("Open")) << file;
    EXPECT_AUTOMATION_ERROR(automation::callMethod(*catalog, "LoadLanguageFile", {Variant(file)}), number, file);
  }
  ::alarm(0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  EXPECT_TRUE(screen->messages().empty());
}

TEST_F(LibraryTest, NothingIsNoApplicationObject) {
  auto app = makeObject<FakeObject>("App");
  lib->ShellApplicationObject(app);
  try {
    automation::setProperty(*lib, "ShellApplicationObject", nullptr);
    FAIL() << "no error";
  } catch (const automation::AutomationError& e) {
    EXPECT_EQ(e.number(), 20000);
    EXPECT_EQ(e.description(), "Invalid application object");
    EXPECT_EQ(e.source(), ApplicationTitle);
  }
  EXPECT_TRUE(lib->CurrentWorkspace()->ShellApp() == app);
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

TEST_F(LibraryTest, FloatingMenuSwitchIsProcessWide) {
  auto other = makeObject<ZuzuzudLibrary>();
  automation::callMethod(*lib, "KaTDisableFloatingMenu");
  EXPECT_EQ(ZuzuzudLibrary::FloatingMenuDisabled(), -1);
  other->KaTEnableFloatingMenu();
  EXPECT_EQ(ZuzuzudLibrary::FloatingMenuDisabled(), 0);
}

TEST_F(LibraryTest, HandOverPropertiesForwardToTheCurrentWorkspace) {
  auto ws = makeObject<ZuzuzudWorkspace>();
  auto bar = makeObject<FakeObject>("Bar");
  LibraryInternals::PushWorkspace(*lib, ws);
  automation::setProperty(*lib, "aBar", bar);
  automation::letProperty(*lib, "aSpinUp", Variant("2.5"));
  automation::letProperty(*lib, "aSpinDown", Variant(int16_t(-1)));
  EXPECT_TRUE(ws->aBar == bar);
  EXPECT_EQ(ws->aSpinUp, 2.5f);
  EXPECT_EQ(automation::getProperty(*ws, "aSpinDown"), Variant(-1.0f));
  EXPECT_EQ(automation::getProperty(*lib, "aBar"), Variant(ObjectRef(bar)));
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_TRUE(lib->aBar() == nullptr);
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
