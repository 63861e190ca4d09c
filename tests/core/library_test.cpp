#include "core/zuzuzud_library.h"

#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "components/text_catalog.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"
#include "support/headless_screen.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::byRef;
using automation::makeObject;
using support::FakeObject;

class LibraryTest : public ::testing::Test {
 protected:
  support::HeadlessScreen screen;
  Ref<ZuzuzudLibrary> lib = makeObject<ZuzuzudLibrary>();
};

TEST_F(LibraryTest, StartsWithItsDefaultWorkspaceAndEmptyFields) {
  EXPECT_TRUE(lib->CurrentWorkspace() == lib->DefaultWorkspace());
  EXPECT_EQ(lib->WorkspaceDepth(), 0);
  const auto& ws = *lib->CurrentWorkspace();
  EXPECT_EQ(ws.aBarIndex, 0);
  EXPECT_FALSE(ws.aBar);
  EXPECT_EQ(ws.aSpinUp, 0.0f);
  EXPECT_EQ(ws.IsFloating, 0);
  EXPECT_FALSE(ws.TBM() || ws.ShellApp() || ws.LanguageCatalog() || ws.ScanForm());
  EXPECT_EQ(ws.ScanIndex(), 0);
  EXPECT_EQ(automation::getProperty(*lib, "BarsConfigFile"), Variant(""));
  EXPECT_EQ(automation::getProperty(*lib, "barsbitmapsdir"), Variant(""));
}

TEST(LibraryScreen, TwipsPerPixelAreRoundedHalfToEven) {
  for (auto [twips, expected] : {std::pair{15.0, 15}, {12.5, 12}, {13.5, 14}, {7.4, 7}}) {
    support::HeadlessScreen screen(twips);
    auto lib = makeObject<ZuzuzudLibrary>();
    EXPECT_EQ(lib->TwipsPerPixelX(), expected) << twips;
    EXPECT_EQ(lib->TwipsPerPixelY(), expected) << twips;
  }
}

TEST_F(LibraryTest, InitialiseStoresEverythingOnTheCurrentWorkspace) {
  auto tbm = makeObject<FakeObject>("TBM");
  automation::callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), Variant("bars.ini"), Variant("bmp/")});
  const auto& ws = *lib->CurrentWorkspace();
  EXPECT_TRUE(ws.TBM() == tbm);
  EXPECT_EQ(ws.BarsConfigFile(), "bars.ini");
  EXPECT_EQ(ws.BarsBitmapsDir(), "bmp/");
  auto catalog = automation::objectAs<components::TextCatalog>(ws.LanguageCatalog());
  ASSERT_TRUE(catalog);
  EXPECT_EQ(catalog->Translate("Open", 0), "Open");
  EXPECT_TRUE(tbm->calls().empty());

  // A second call replaces the catalogue.
  lib->InitialiseZADEVE(tbm, "other.ini", "x/");
  EXPECT_FALSE(lib->CurrentWorkspace()->LanguageCatalog() == catalog);
  EXPECT_EQ(lib->BarsConfigFile(), "other.ini");
}

TEST_F(LibraryTest, InitialiseLoadsTheLanguageFile) {
  support::TempDir dir;
  auto po = dir.write("de.po", "msgid \"Open\"\nmsgstr \"Oeffnen\"\n");
  lib->InitialiseZADEVE(nullptr, "b.ini", "", po);
  auto catalog = automation::objectAs<components::TextCatalog>(lib->CurrentWorkspace()->LanguageCatalog());
  EXPECT_EQ(catalog->Translate("Open", 0), "Oeffnen");

  // A file the catalogue cannot load fails in the catalogue; what was stored stays.
  EXPECT_AUTOMATION_ERROR(lib->InitialiseZADEVE(nullptr, "c.ini", "", dir.file("none.po")), 53, "none.po");
  EXPECT_EQ(lib->BarsConfigFile(), "c.ini");
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
  LibraryInternals::PushWorkspace(*lib, b);
  EXPECT_TRUE(lib->CurrentWorkspace() == b);
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_TRUE(lib->CurrentWorkspace() == a);
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_TRUE(lib->CurrentWorkspace() == lib->DefaultWorkspace());
  EXPECT_TRUE(screen->messages().empty());

  LibraryInternals::PushWorkspace(*lib, a);
  lib->CurrentWorkspace()->BarsConfigFile("a.ini");
  EXPECT_EQ(lib->BarsConfigFile(), "a.ini");
  LibraryInternals::PopWorkspace(*lib);
  EXPECT_EQ(lib->BarsConfigFile(), "");

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

TEST(Workspace, FieldsThroughTheAutomationFace) {
  auto ws = makeObject<ZuzuzudWorkspace>();
  automation::letProperty(*ws, "aBarIndex", Variant("7"));
  automation::letProperty(*ws, "IsFloating", Variant(true));
  EXPECT_EQ(ws->aBarIndex, 7);
  EXPECT_EQ(ws->IsFloating, -1);
  EXPECT_AUTOMATION_ERROR(automation::letProperty(*ws, "aBarIndex", Variant(40000)), 6, "Overflow");
  EXPECT_AUTOMATION_ERROR(automation::getProperty(*ws, "TBM"), 438, "support");
}

}  // namespace
}  // namespace zadeve::core
