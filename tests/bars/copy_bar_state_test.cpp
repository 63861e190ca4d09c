#include <gtest/gtest.h>

#include "automation/error.h"
#include "bars/bars_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::core {
namespace {

using automation::Arg;
using support::FakeObject;

class CopyBarState : public BarsTest {
 protected:
  Ref<FakeToolbar> from = makeObject<FakeToolbar>();
  Ref<FakeToolbar> to = makeObject<FakeToolbar>();
};

TEST_F(CopyBarState, TheTargetTakesOverTheSourcesStates) {
  automation::callMethod(*lib, "KaTCopyBarState", {Variant(ObjectRef(from)), Variant(ObjectRef(to))});
  ASSERT_EQ(to->log(), (std::vector<std::string>{"CopyStateFromReVivezavAsObject(&<ReVivezav>)"}));
  EXPECT_TRUE(to->calls()[0].args[0].object() == from);
  EXPECT_TRUE(from->calls().empty());
}

TEST_F(CopyBarState, ATypeMismatchIsIgnoredAndAnythingElseReportedByNumber) {
  const std::string tail = "'.\r\nMay have been caused by editing BARS.INI while running.";
  struct Case {
    int32_t raised;  // 0: the target is Nothing
    std::vector<std::string> messages;
  } cases[] = {
      {automation::err::TypeMismatch, {}},
      {automation::err::Subscript, {"Problem while restoring bar state: '9" + tail}},
      {automation::err::MemberMissing, {"Problem while restoring bar state: '438" + tail}},
      {0, {"Problem while restoring bar state: '91" + tail}},
  };
  for (const auto& c : cases) {
    app->messages.clear();
    auto target = makeObject<FakeToolbar>();
    int32_t number = c.raised;
    target->on("CopyStateFromReVivezavAsObject",
               [number](FakeObject&, std::span<Arg>) -> Variant { automation::raise(number); });
    EXPECT_NO_THROW(lib->KaTCopyBarState(from, number ? ObjectRef(target) : ObjectRef()));
    EXPECT_EQ(app->messages, c.messages) << c.raised;
  }
}

TEST_F(CopyBarState, AReportThatCannotBeShownReachesTheCaller) {
  auto noHost = makeObject<ZuzuzudLibrary>();
  EXPECT_AUTOMATION_ERROR(noHost->KaTCopyBarState(from, nullptr), 91, "not set");
  EXPECT_NO_THROW(noHost->KaTCopyBarState(from, to));
}

}  // namespace
}  // namespace zadeve::core
