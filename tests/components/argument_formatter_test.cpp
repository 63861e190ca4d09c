#include "components/argument_formatter.h"

#include <gtest/gtest.h>

#include <vector>

#include "automation/dispatch.h"
#include "support/fake_object.h"

namespace zadeve::components {
namespace {

using namespace automation;

TEST(ArgumentFormatter, FillsTheTemplate) {
  // An object shows its default value, or its class name when it has none.
  auto error = makeObject<support::FakeObject>("ErrObject");
  error->on("", [](support::FakeObject&, std::span<Arg>) { return Variant(int32_t{5}); });
  const std::vector<Variant> nine{"1", "2", "3", "4", "5", "6", "7", "8", "nine"};
  const struct {
    const char* text;
    std::vector<Variant> args;
    std::string expected;
  } cases[] = {
      {"^2^1^2-^9", nine, "212-nine"},
      {"a^nb^Nc", {}, "a\r\nb\r\nc"},
      {"Button^1/^2/^3", {Variant(int16_t{7}), Variant(2.5f), Variant(true)}, "Button7/2.5/True"},
      {"[^1^2^3]", {Variant(), Variant::missing()}, "[]"},  // empty, omitted, not given
      {"^1,^2", {Variant::null(), Variant::nothing()}, "Null,Nothing"},
      {"'^1' '^2'", {Variant(error), Variant(makeObject<support::FakeObject>("Bar"))}, "'5' '[Bar]'"},
      {"^0^x 50^", {"a"}, "^0^x 50^"},
      {"^^1 is ^1, ^^^1", {"a"}, "^1 is a, ^a"},
      {"^1", {"^2^n"}, "^2^n"},  // inserted text is not scanned again
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ArgumentFormatter().SubstituteArguments(c.text, c.args), c.expected) << c.text;
  }
}

TEST(ArgumentFormatter, LateBoundCallPassesTheArgumentsInOrder) {
  auto formatter = makeObject<ArgumentFormatter>();
  EXPECT_EQ(callMethod(*formatter, "SubstituteArguments", {Arg("<^1^2^3>"), Arg::missing(), Arg(int16_t{9})}),
            Variant("<9>"));
}

}  // namespace
}  // namespace zadeve::components
