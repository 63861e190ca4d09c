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
  Variant zoom("Zoom");
  EXPECT_EQ(FormatMessageText("Toolbar setup error - missing^nfunction: ^1.", {&zoom, 1}),
            "Toolbar setup error - missing\r\nfunction: Zoom.");
  Variant args[] = {Variant(int16_t(7)), Variant("Std")};
  EXPECT_EQ(FormatMessageText("Toolbar setup error - Missing button: Button^1.", args),
            "Toolbar setup error - Missing button: Button7.");
  EXPECT_EQ(FormatMessageText("^2 then ^1", args), "Std then 7");
}

TEST(ReportToHost, HandsTheTextToMsgBoxSubWithOne) {
  auto lib = makeObject<ZuzuzudLibrary>();
  auto app = makeObject<support::FakeObject>("App");
  app->acceptAnyCall();
  lib->ShellApplicationObject(app);
  LibraryInternals::ReportToHost(*lib, "^1^nwhile processing: ^2", {Variant("File not found"), Variant("2")});
  EXPECT_EQ(app->log(), std::vector<std::string>{"MsgBoxSub(\"File not found\r\nwhile processing: 2\", 1:Long)"});
}

TEST(ReportToHost, FailsWithoutAHostObject) {
  auto lib = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(LibraryInternals::ReportToHost(*lib, "x", {}), 91, "not set");
}

}  // namespace
}  // namespace zadeve::core
