#include "core/message_format.h"

#include <gtest/gtest.h>

#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"
#include "support/library_internals.h"

namespace zadeve::core {
namespace {

using automation::makeObject;

TEST(FormatMessageText, FillsArgumentsAndLineBreaks) {
  Variant args[] = {Variant(int16_t(7)), Variant("Std")};
  EXPECT_EQ(FormatMessageText("Missing^nbutton: Button^1 of ^2, ^1.", args), "Missing\r\nbutton: Button7 of Std, 7.");
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
