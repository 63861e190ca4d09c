#include <gtest/gtest.h>

#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using automation::err::ObjectNotSet;
using CopyBarState = support::ToolbarTest;

TEST_F(CopyBarState, ATypeMismatchIsIgnoredAndAnythingElseReportedByNumber) {
  auto from = automation::makeObject<support::FakeToolbar>();
  const std::string tail = "'.\r\nMay have been caused by editing BARS.INI while running.";
  const std::pair<int32_t, Lines> cases[] = {
      {0, {}},  // nothing raised
      {automation::err::TypeMismatch, {}},
      {automation::err::Subscript, {"Problem while restoring bar state: '9" + tail}},
      {ObjectNotSet, {"Problem while restoring bar state: '91" + tail}},  // the target is Nothing
  };
  for (const auto& [raised, messages] : cases) {
    app->messages.clear();
    auto to = automation::makeObject<support::FakeToolbar>();
    if (raised) to->on("CopyStateFromReVivezavAsObject", refuse(raised));
    ObjectRef target = raised == ObjectNotSet ? nullptr : ObjectRef(to);
    automation::callMethod(*lib, "KaTCopyBarState", {Variant(ObjectRef(from)), Variant(target)});
    EXPECT_EQ(app->messages, messages) << raised;
    if (raised == 0) {  // the target takes over the source's states
      EXPECT_EQ(to->log(), Lines{"CopyStateFromReVivezavAsObject(&<ReVivezav>)"});
      EXPECT_TRUE(to->calls().at(0).args.at(0).object() == from);
    }
  }
  EXPECT_TRUE(from->calls().empty());
}

}  // namespace
}  // namespace zadeve::core
