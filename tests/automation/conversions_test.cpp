#include "automation/conversions.h"

#include <gtest/gtest.h>

#include "support/automation_assert.h"

namespace zadeve::automation {
namespace {

struct IntegerCase {
  Variant in;
  int16_t out;
};

TEST(Conversions, ToIntegerRoundsHalfToEven) {
  const IntegerCase cases[] = {
      {Variant(2.5), 2},          {Variant(3.5), 4},         {Variant(-2.5), -2},
      {Variant(2.4999), 2},       {Variant(1.5f), 2},        {Variant("0.5"), 0},
      {Variant("-7.5"), -8},      {Variant("1e2"), 100},     {Variant(true), -1},
      {Variant(false), 0},        {Variant(), 0},            {Variant("True"), -1},
      {Variant(32767.4), 32767},  {Variant(-32768.5), -32768},
  };
  for (const auto& c : cases) EXPECT_EQ(toInteger(c.in), c.out) << toString(c.in);
}

TEST(Conversions, RaiseOverflowTypeMismatchAndInvalidUseOfNull) {
  const std::pair<Variant, int32_t> toIntegerCases[] = {
      {Variant(32767.5), err::Overflow},   {Variant("40000"), err::Overflow},     {Variant(-32769), err::Overflow},
      {Variant("abc"), err::TypeMismatch}, {Variant(""), err::TypeMismatch},      {Variant("12abc"), err::TypeMismatch},
      {Variant::null(), err::InvalidUseOfNull}};
  for (const auto& [in, number] : toIntegerCases) EXPECT_AUTOMATION_ERROR(toInteger(in), number, "");
  EXPECT_AUTOMATION_ERROR(toInteger(Variant("x")), err::TypeMismatch, "Type mismatch");
  EXPECT_AUTOMATION_ERROR(toLong(Variant(3e9)), err::Overflow, "Overflow");
  EXPECT_AUTOMATION_ERROR(toSingle(Variant(1e300)), err::Overflow, "Overflow");
}

// A text through CDbl, CSng, CInt and CLng: the value as the runtime shows it, or "#" and
// the error number. IsNumeric agrees with CDbl.
std::string outcome(auto convert) {
  try {
    return convert();
  } catch (const AutomationError& e) {
    return "#" + std::to_string(e.number());
  }
}

TEST(Conversions, TextsConvertAsTheRuntimeDoes) {
  struct Row {
    const char* text;
    const char *dbl, *sng, *integer, *lng;
  } rows[] = {
      // Beyond the range of the type overflows, beyond any number too; tiny is 0.
      {"1e999", "#6", "#6", "#6", "#6"},
      {"-1e999", "#6", "#6", "#6", "#6"},
      {"1e309", "#6", "#6", "#6", "#6"},
      {"1e308", "1E+308", "#6", "#6", "#6"},
      {"1e39", "1E+39", "#6", "#6", "#6"},
      {"40000", "40000", "40000", "#6", "40000"},
      {"1e-400", "0", "0", "0", "0"},
      // Hex and octal: four hex (six octal) digits are a 16-bit value, more a 32-bit one.
      {"&HFF", "255", "255", "255", "255"},
      {"&h8000", "-32768", "-32768", "-32768", "-32768"},
      {"&HFFFF", "-1", "-1", "-1", "-1"},
      {"&H10000", "65536", "65536", "#6", "65536"},
      {"&HFFFFFFFF", "-1", "-1", "-1", "-1"},
      {"&H100000000", "#6", "#6", "#6", "#6"},
      {"&O17", "15", "15", "15", "15"},
      {"&O177777", "-1", "-1", "-1", "-1"},
      {"&H", "#13", "#13", "#13", "#13"},
      {"&HG", "#13", "#13", "#13", "#13"},
      {"&O8", "#13", "#13", "#13", "#13"},
      {"&HFFFFFFFFFG", "#13", "#13", "#13", "#13"},
      // Blanks around, the en-US thousands comma, the D exponent.
      {" \t12 ", "12", "12", "12", "12"},
      {" -2.5\t", "-2.5", "-2.5", "-2", "-2"},
      {"1,5", "15", "15", "15", "15"},
      {"1,000.5", "1000.5", "1000.5", "1000", "1000"},
      {"-1,000,000", "-1000000", "-1000000", "#6", "-1000000"},
      {"1,5e2", "1500", "1500", "1500", "1500"},
      {"1d2", "100", "100", "100", "100"},
      {"1D-2", "0.01", "0.01", "0", "0"},
      // Not numbers.
      {",5", "#13", "#13", "#13", "#13"},
      {"1,", "#13", "#13", "#13", "#13"},
      {"1,,5", "#13", "#13", "#13", "#13"},
      {"1.5,5", "#13", "#13", "#13", "#13"},
      {"", "#13", "#13", "#13", "#13"},
      {"+", "#13", "#13", "#13", "#13"},
      {"-", "#13", "#13", "#13", "#13"},
      {".", "#13", "#13", "#13", "#13"},
      {"1e", "#13", "#13", "#13", "#13"},
      {"1e+", "#13", "#13", "#13", "#13"},
      {"1 2", "#13", "#13", "#13", "#13"},
      {"$1", "#13", "#13", "#13", "#13"},
  };
  for (const auto& r : rows) {
    Variant v(r.text);
    EXPECT_EQ(outcome([&] { return formatDouble(toDouble(v)); }), r.dbl) << r.text;
    EXPECT_EQ(outcome([&] { return formatSingle(toSingle(v)); }), r.sng) << r.text;
    EXPECT_EQ(outcome([&] { return std::to_string(toInteger(v)); }), r.integer) << r.text;
    EXPECT_EQ(outcome([&] { return std::to_string(toLong(v)); }), r.lng) << r.text;
    EXPECT_EQ(isNumeric(v), r.dbl[0] != '#') << r.text;
    EXPECT_EQ(parseNumber(r.text).has_value(), r.dbl[0] != '#') << r.text;
  }
}

TEST(Conversions, ToStringFollowsTheRuntime) {
  const std::pair<Variant, const char*> cases[] = {
      {Variant(true), "True"},      {Variant(false), "False"},   {Variant(3.0f), "3"},
      {Variant(1.5f), "1.5"},       {Variant(0.1f), "0.1"},      {Variant(2.0), "2"},
      {Variant(0.1 + 0.2), "0.3"},  {Variant(1e20), "1E+20"},    {Variant(0.00001), "1E-05"},
      {Variant(int16_t(-5)), "-5"}, {Variant(70000), "70000"},   {Variant(), ""},
      {Variant(-0.5), "-0.5"},      {Variant(123456789012345.0), "123456789012345"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(toString(in), out);
  EXPECT_AUTOMATION_ERROR(toString(Variant::null()), err::InvalidUseOfNull, "Null");
  EXPECT_AUTOMATION_ERROR(toString(Variant::nothing()), err::TypeMismatch, "Type mismatch");
}

TEST(Conversions, NumericTestAndLeadingNumberRule) {
  for (const Variant& v : {Variant(), Variant(" 1.5 "), Variant("-3e2"), Variant("&H1F")}) EXPECT_TRUE(isNumeric(v));
  for (const Variant& v : {Variant(""), Variant("x"), Variant("1/2"), Variant("."), Variant::null()})
    EXPECT_FALSE(isNumeric(v)) << (v.isNull() ? "Null" : toString(v));

  const std::pair<const char*, double> vals[] = {
      {"12abc", 12}, {"  -3.5x", -3.5}, {"1 2 3", 123}, {"abc", 0},   {"", 0},
      {"&H1F", 31},  {"&O17", 15},      {"2e3", 2000},  {"2e", 2},    {".5", 0.5},
      {"1,5", 1},    {"1e-400", 0},
  };
  for (const auto& [in, out] : vals) EXPECT_DOUBLE_EQ(val(in), out) << in;
  EXPECT_AUTOMATION_ERROR(val("1e999x"), err::Overflow, "Overflow");
}

TEST(Conversions, ConvertToTheDeclaredType) {  // Integer and String: through the member tables
  EXPECT_EQ(convertTo(Variant(int16_t(-1)), VarType::Boolean), Variant(true));
  EXPECT_EQ(convertTo(Variant("x"), VarType::Variant), Variant("x"));
  EXPECT_AUTOMATION_ERROR(convertTo(Variant("x"), VarType::Object), err::TypeMismatch, "Type");
}

TEST(Conversions, CaseRulesAreAsciiOnly) {
  EXPECT_EQ(toUpper("top\xe9"), "TOP\xe9");
  EXPECT_TRUE(equalsIgnoreCase("Sketch", "SKETCH"));
  EXPECT_FALSE(equalsIgnoreCase("\xe9", "\xc9"));
  EXPECT_FALSE(equalsIgnoreCase("ab", "abc"));
}

}  // namespace
}  // namespace zadeve::automation
