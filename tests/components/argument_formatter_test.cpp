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

std::string format(std::string_view text, std::vector<Variant> args) {
  return ArgumentFormatter().SubstituteArguments(text, args);
}

struct FormatCase {
  const char* name;
  const char* text;
  std::vector<Variant> args;
  std::string expected;
};

class SubstituteCases : public ::testing::TestWithParam<FormatCase> {};

TEST_P(SubstituteCases, FillsTheTemplate) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(format(c.text, c.args), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    ArgumentFormatter, SubstituteCases,
    ::testing::Values(
        FormatCase{"Plain", "no placeholders", {"x"}, "no placeholders"},
        FormatCase{"InOrder", "^1-^2", {"a", "b"}, "a-b"},
        FormatCase{"OutOfOrderAndRepeated", "^2^1^2", {"a", "b"}, "bab"},
        FormatCase{"Ninth", "^9", {"1", "2", "3", "4", "5", "6", "7", "8", "nine"}, "nine"},
        FormatCase{"LineBreak", "a^nb^Nc", {}, "a\r\nb\r\nc"},
        FormatCase{"Integer", "Button^1.", {Variant(int16_t{7})}, "Button7."},
        FormatCase{"NegativeLong", "^1", {Variant(int32_t{-42})}, "-42"},
        FormatCase{"Single", "^1", {Variant(2.5f)}, "2.5"},
        FormatCase{"WholeDouble", "^1", {Variant(3.0)}, "3"},
        FormatCase{"Boolean", "^1/^2", {Variant(true), Variant(false)}, "True/False"},
        FormatCase{"Empty", "[^1]", {Variant()}, "[]"},
        FormatCase{"Missing", "[^1]", {Variant::missing()}, "[]"},
        FormatCase{"NotGiven", "[^3]", {"a"}, "[]"},
        FormatCase{"Null", "[^1]", {Variant::null()}, "[Null]"},
        FormatCase{"Nothing", "[^1]", {Variant::nothing()}, "[Nothing]"},
        FormatCase{"CaretZero", "^0^1", {"a"}, "^0a"},
        FormatCase{"CaretLetter", "^x", {}, "^x"},
        FormatCase{"CaretAtEnd", "50^", {}, "50^"},
        FormatCase{"DoubleCaret", "^^1 is ^1", {"a"}, "^1 is a"},
        FormatCase{"TripleCaret", "^^^1", {"a"}, "^a"},
        FormatCase{"ArgumentNotRescanned", "^1", {"^2^n"}, "^2^n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentFormatter, ObjectArgumentGivesItsDefaultValue) {
  EXPECT_EQ(format("'^1'", {Variant(makeObject<ErrorObject>())}), "'5'");
}

TEST(ArgumentFormatter, ObjectWithoutUsableDefaultGivesItsClassName) {
  // Collection's default member needs an index, so it has no value of its own.
  EXPECT_EQ(format("'^1'", {Variant(makeObject<Collection>())}), "'[Collection]'");
}

TEST(ArgumentFormatter, LibraryTemplatesComeOutAsTheUserSeesThem) {
  ArgumentFormatter& formatter = processFormatter();
  std::vector<Variant> zoom{"Zoom"};
  std::string text = formatter.SubstituteArguments("Toolbar setup error - missing^nfunction: ^1.", zoom);
  size_t br = text.find(LineBreak);
  ASSERT_NE(br, std::string::npos);
  EXPECT_EQ(text.substr(0, br), "Toolbar setup error - missing");
  EXPECT_EQ(text.substr(br + LineBreak.size()), "function: Zoom.");

  std::vector<Variant> count{Variant(int16_t{12})};
  EXPECT_EQ(formatter.SubstituteArguments("Toolbar configuration error. BarCount=^1", count),
            "Toolbar configuration error. BarCount=12");

  std::vector<Variant> failure{"Invalid picture", "Icons,3"};
  EXPECT_EQ(formatter.SubstituteArguments("^1^nwhile processing: ^2", failure),
            "Invalid picture\r\nwhile processing: Icons,3");

  std::vector<Variant> err{Variant(makeObject<ErrorObject>())};
  EXPECT_EQ(formatter.SubstituteArguments(
                "Problem while restoring bar state: '^1'.^nMay have been caused by editing BARS.INI while running.",
                err),
            "Problem while restoring bar state: '5'.\r\nMay have been caused by editing BARS.INI while running.");
}

TEST(ArgumentFormatter, LateBoundCallLeavesOmittedArgumentsEmpty) {
  auto formatter = makeObject<ArgumentFormatter>();
  Variant text = "^1 of ^2^3";
  Variant one = int32_t{1};
  Variant result = callMethod(*formatter, "SubstituteArguments",
                              {byRef(text), byRef(one), Arg(int16_t{9})});
  EXPECT_EQ(result, Variant("1 of 9"));
  EXPECT_EQ(text, Variant("^1 of ^2^3"));
  EXPECT_EQ(one, Variant(int32_t{1}));

  result = callMethod(*formatter, "SubstituteArguments", {Arg("<^2>"), Arg::missing(), Arg("b")});
  EXPECT_EQ(result, Variant("<b>"));
}

}  // namespace
}  // namespace zadeve::components
