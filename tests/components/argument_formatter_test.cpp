#include "components/argument_formatter.h"

#include <gtest/gtest.h>

#include <vector>

#include "automation/collection.h"
#include "automation/dispatch.h"

namespace zadeve::components {
namespace {

using namespace automation;

// Stands in for the runtime's error object: its default value is the error number.
class ErrorObject : public Dispatchable<ErrorObject> {
 public:
  static const MemberTable<ErrorObject>& memberTable() {
    static const MemberTable<ErrorObject> table(
        "ErrObject", {{{"Number", 0, InvokeKind::PropertyGet, {}, VarType::Long, true},
                       [](ErrorObject&, CallArgs&) { return Variant(int32_t{5}); }}});
    return table;
  }
};

TEST(ArgumentFormatter, FillsTheTemplate) {
  struct Case {
    const char* text;
    std::vector<Variant> args;
    std::string expected;
  };
  const std::vector<Variant> nine{"1", "2", "3", "4", "5", "6", "7", "8", "nine"};
  const Case cases[] = {
      {"^2^1^2-^9", nine, "212-nine"},
      {"a^nb^Nc", {}, "a\r\nb\r\nc"},
      {"Button^1/^2/^3", {Variant(int16_t{7}), Variant(2.5f), Variant(true)}, "Button7/2.5/True"},
      {"[^1^2^3]", {Variant(), Variant::missing()}, "[]"},  // empty, omitted, not given
      {"^1,^2", {Variant::null(), Variant::nothing()}, "Null,Nothing"},
      {"'^1'", {Variant(makeObject<ErrorObject>())}, "'5'"},
      // Collection's default member needs an index, so it has no value of its own.
      {"'^1'", {Variant(makeObject<Collection>())}, "'[Collection]'"},
      {"^0^x 50^", {"a"}, "^0^x 50^"},
      {"^^1 is ^1, ^^^1", {"a"}, "^1 is a, ^a"},
      {"^1", {"^2^n"}, "^2^n"},  // inserted text is not scanned again
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ArgumentFormatter().SubstituteArguments(c.text, c.args), c.expected) << c.text;
  }
}

TEST(ArgumentFormatter, LateBoundCallLeavesOmittedArgumentsEmpty) {
  auto formatter = makeObject<ArgumentFormatter>();
  Variant text = "^1 of ^2^3";
  Variant one = int32_t{1};
  EXPECT_EQ(callMethod(*formatter, "SubstituteArguments", {byRef(text), byRef(one), Arg(int16_t{9})}),
            Variant("1 of 9"));
  EXPECT_EQ(text, Variant("^1 of ^2^3"));
  EXPECT_EQ(one, Variant(int32_t{1}));
  EXPECT_EQ(callMethod(*formatter, "SubstituteArguments", {Arg("<^2>"), Arg::missing(), Arg("b")}),
            Variant("<b>"));
}

}  // namespace
}  // namespace zadeve::components
