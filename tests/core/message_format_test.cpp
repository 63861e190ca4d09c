#include "core/message_format.h"

#include <gtest/gtest.h>

#include "components/text_catalog.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"
#include "support/library_internals.h"
#include "support/temp_dir.h"

namespace zadeve::core {
namespace {

using automation::makeObject;

TEST(FormatMessageText, FillsArgumentsAndLineBreaks) {
  Variant args[] = {Variant(int16_t(7)), Variant("Std")};
  EXPECT_EQ(FormatMessageText("Missing^nbutton: Button^1 of ^2, ^1.", args), "Missing\r\nbutton: Button7 of Std, 7.");
}

// The template is looked up in the process-wide catalogue (never a workspace's) before it
// is filled, so a translation keeps its placeholders.
TEST(FormatMessageText, TranslatesThroughTheProcessCatalogueFirst) {
  support::TempDir dir;
  auto& catalog = components::processCatalog();
  catalog.LoadLanguageFile(dir.write("de.po", "msgid \"Missing^nbutton: ^1\"\nmsgstr \"Fehlt^nKnopf: ^1\"\n"));
  Variant args[] = {Variant("B7")};
  const std::string text = FormatMessageText("Missing^nbutton: ^1", args);
  catalog.LoadLanguageFile(dir.write("none.po", ""));  // as the other tests expect it
  EXPECT_EQ(text, "Fehlt\r\nKnopf: B7");
}

// The text goes to MsgBoxSub with style 1; without a host object the report fails.
TEST(ReportToHost, HandsTheTextToMsgBoxSubWithOne) {
  auto lib = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(LibraryInternals::ReportToHost(*lib, "x", {}), 91, "not set");
  auto app = makeObject<support::FakeObject>("App");
  app->acceptAnyCall();
  lib->ShellApplicationObject(app);
  LibraryInternals::ReportToHost(*lib, "^1^nwhile processing: ^2", {Variant("File not found"), Variant("2")});
  EXPECT_EQ(app->log(), std::vector<std::string>{"MsgBoxSub(\"File not found\r\nwhile processing: 2\", 1:Long)"});
}

}  // namespace
}  // namespace zadeve::core
