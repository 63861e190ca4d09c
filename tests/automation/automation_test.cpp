#include <gtest/gtest.h>

#include "automation/collection.h"
#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/member_table.h"
#include "support/automation_assert.h"

namespace zadeve::automation {
namespace {

std::string outcome(auto convert) {  // the value as the runtime shows it, or "#" and the error
  try {
    return convert();
  } catch (const AutomationError& e) {
    return "#" + std::to_string(e.number());
  }
}

TEST(Conversions, ToIntegerRoundsHalfToEvenOrRaises) {
  const std::pair<Variant, const char*> cases[] = {
      {Variant(2.5), "2"},         {Variant(3.5), "4"},         {Variant(-2.5), "-2"},     {Variant(2.4999), "2"},
      {Variant(1.5f), "2"},        {Variant("0.5"), "0"},       {Variant("-7.5"), "-8"},   {Variant("1e2"), "100"},
      {Variant(true), "-1"},       {Variant(false), "0"},       {Variant(), "0"},          {Variant("True"), "-1"},
      {Variant(32767.4), "32767"}, {Variant(-32768.5), "-32768"}, {Variant(32767.5), "#6"}, {Variant("40000"), "#6"},
      {Variant(-32769), "#6"},     {Variant("abc"), "#13"},     {Variant(""), "#13"},      {Variant("12abc"), "#13"},
      {Variant::null(), "#94"}};
  for (const auto& [in, out] : cases)
    EXPECT_EQ(outcome([&] { return std::to_string(toInteger(in)); }), out) << (in.isNull() ? "Null" : toString(in));
  EXPECT_AUTOMATION_ERROR(toInteger(Variant("x")), err::TypeMismatch, "Type mismatch");
  EXPECT_AUTOMATION_ERROR(toLong(Variant(3e9)), err::Overflow, "Overflow");
  EXPECT_AUTOMATION_ERROR(toSingle(Variant(1e300)), err::Overflow, "Overflow");
}

// A text through CDbl, CSng, CInt and CLng; IsNumeric and parseNumber agree with CDbl.
TEST(Conversions, TextsConvertAsTheRuntimeDoes) {
  struct Row { std::string text, dbl, sng, integer, lng; };
  std::vector<Row> rows = {
      {"1e308", "1E+308", "#6", "#6", "#6"},   {"1e39", "1E+39", "#6", "#6", "#6"},
      {"40000", "40000", "40000", "#6", "40000"}, {"&H10000", "65536", "65536", "#6", "65536"},
      {" -2.5\t", "-2.5", "-2.5", "-2", "-2"}, {"1,000.5", "1000.5", "1000.5", "1000", "1000"},
      {"-1,000,000", "-1000000", "-1000000", "#6", "-1000000"}, {"1D-2", "0.01", "0.01", "0", "0"}};
  // Hex and octal: four hex (six octal) digits are a 16-bit value, more a 32-bit one. Blanks
  // around, the en-US thousands comma and the D exponent are accepted; tiny is 0.
  for (auto [text, all] : {std::pair{"&HFF", "255"}, {"&h8000", "-32768"}, {"&HFFFF", "-1"}, {"&HFFFFFFFF", "-1"},
                           {"&O17", "15"}, {"&O177777", "-1"}, {" \t12 ", "12"}, {"1,5", "15"}, {"1,5e2", "1500"},
                           {"1d2", "100"}, {"1e-400", "0"},
                           // beyond any number overflows; not numbers are type mismatches
                           {"1e999", "#6"}, {"-1e999", "#6"}, {"1e309", "#6"}, {"&H100000000", "#6"},
                           {"&H", "#13"}, {"&HG", "#13"}, {"&O8", "#13"}, {"&HFFFFFFFFFG", "#13"}, {",5", "#13"},
                           {"1,", "#13"}, {"1,,5", "#13"}, {"1.5,5", "#13"}, {"", "#13"}, {"+", "#13"},
                           {"-", "#13"}, {".", "#13"}, {"1e", "#13"}, {"1e+", "#13"}, {"1 2", "#13"}, {"$1", "#13"}})
    rows.push_back({text, all, all, all, all});
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

TEST(Conversions, ToStringIsNumericValAndTheOtherRules) {
  const std::pair<Variant, const char*> strings[] = {
      {Variant(true), "True"},      {Variant(false), "False"},   {Variant(3.0f), "3"},
      {Variant(1.5f), "1.5"},       {Variant(0.1f), "0.1"},      {Variant(2.0), "2"},
      {Variant(0.1 + 0.2), "0.3"},  {Variant(1e20), "1E+20"},    {Variant(0.00001), "1E-05"},
      {Variant(int16_t(-5)), "-5"}, {Variant(70000), "70000"},   {Variant(), ""},
      {Variant(-0.5), "-0.5"},      {Variant(123456789012345.0), "123456789012345"}};
  for (const auto& [in, out] : strings) EXPECT_EQ(toString(in), out);
  EXPECT_AUTOMATION_ERROR(toString(Variant::null()), err::InvalidUseOfNull, "Null");
  EXPECT_AUTOMATION_ERROR(toString(Variant::nothing()), err::TypeMismatch, "Type mismatch");

  for (const Variant& v : {Variant(), Variant(" 1.5 "), Variant("-3e2"), Variant("&H1F")}) EXPECT_TRUE(isNumeric(v));
  for (const Variant& v : {Variant(""), Variant("x"), Variant("1/2"), Variant("."), Variant::null()})
    EXPECT_FALSE(isNumeric(v)) << (v.isNull() ? "Null" : toString(v));
  const std::pair<const char*, double> vals[] = {
      {"12abc", 12}, {"  -3.5x", -3.5}, {"1 2 3", 123}, {"abc", 0}, {"", 0}, {"&H1F", 31},
      {"&O17", 15},  {"2e3", 2000},     {"2e", 2},      {".5", 0.5}, {"1,5", 1}, {"1e-400", 0}};
  for (const auto& [in, out] : vals) EXPECT_DOUBLE_EQ(val(in), out) << in;
  EXPECT_AUTOMATION_ERROR(val("1e999x"), err::Overflow, "Overflow");

  EXPECT_EQ(convertTo(Variant(int16_t(-1)), VarType::Boolean), Variant(true));
  EXPECT_EQ(convertTo(Variant("x"), VarType::Variant), Variant("x"));
  EXPECT_AUTOMATION_ERROR(convertTo(Variant("x"), VarType::Object), err::TypeMismatch, "Type");
  EXPECT_EQ(toUpper("top\xe9"), "TOP\xe9");  // case rules are ASCII only
  EXPECT_TRUE(equalsIgnoreCase("Sketch", "SKETCH"));
  EXPECT_FALSE(equalsIgnoreCase("\xe9", "\xc9"));
  EXPECT_FALSE(equalsIgnoreCase("ab", "abc"));
}

// A small class exercising every binding rule.
class Sample : public Dispatchable<Sample> {
 public:
  static const MemberTable<Sample>& memberTable() {
    using V = VarType;
    static const MemberTable<Sample> table(
        "Sample",
        {{{"Title", 1, InvokeKind::PropertyGet, {}, V::String}, [](Sample& s, CallArgs&) { return Variant(s.title); }},
         {{"Title", 1, InvokeKind::PropertyLet, {byVal("value", V::String)}},
          [](Sample& s, CallArgs& a) { return s.title = a[0].string(), Variant(); }},
         {{"Twice", 2, InvokeKind::Method, {byRef("n", V::Integer)}, V::Integer},
          [](Sample&, CallArgs& a) {
            a[0] = Variant(int16_t(a.integer(0) * 2));
            return Variant(a.integer(0));
          }},
         {{"Join", 3, InvokeKind::Method,
           {byVal("a", V::String), optionalParam(byVal("b", V::String), Variant("-")),
            optionalParam(byRef("c", V::Variant))},
           V::String},
          [](Sample&, CallArgs& a) {
            return Variant(a[0].string() + a[1].string() + (a.isMissing(2) ? "" : toString(a[2])));
          }},
         {{"Touch", 4, InvokeKind::Method, {byRef("v", V::String)}}, [](Sample&, CallArgs&) { return Variant(); }},
         {{"Item", 0, InvokeKind::PropertyGet, {byVal("key", V::String)}, V::String, true},
          [](Sample&, CallArgs& a) { return Variant("item " + a[0].string()); }},
         {{"Fail", 5, InvokeKind::Method, {byRef("n", V::Integer)}},
          [](Sample&, CallArgs& a) -> Variant {
            a[0] = Variant(int16_t(99));
            raise(err::InvalidCall, "refused");
          }}});
    return table;
  }
  std::string title;
};

TEST(MemberTable, FindsMembersByNameAndKindBindsTheArgumentsAndWritesBackByReference) {
  auto s = makeObject<Sample>();
  letProperty(*s, "TITLE", Variant(int16_t(7)));  // converted to the declared String
  EXPECT_EQ(getProperty(*s, "title"), Variant("7"));
  EXPECT_EQ(callMethod(*s, "Title"), Variant("7"));  // a method call may read a property
  EXPECT_EQ(getProperty(*s, "", {Variant("x")}), Variant("item x"));
  EXPECT_AUTOMATION_ERROR(letProperty(*s, "Join", Variant("x")), err::MemberMissing, "support");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Nope"), err::MemberMissing, "support");
  EXPECT_EQ(s->typeName(), "Sample");

  EXPECT_EQ(callMethod(*s, "Join", {Variant("a")}), Variant("a-"));
  EXPECT_EQ(callMethod(*s, "Join", {Variant("a"), Arg::missing(), Variant(true)}), Variant("a-True"));
  EXPECT_EQ(callMethod(*s, "Join", {Variant("a"), Variant("b")}), Variant("ab"));
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Join"), err::ArgumentNotOptional, "a");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Join", {Variant("a"), Variant("b"), Variant("c"), Variant("d")}),
                          err::WrongArgumentCount, "Wrong number");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Twice", {Variant("x")}), err::TypeMismatch, "Type mismatch");

  // By-reference arguments write back.
  Variant same(int16_t(21)), other("4"), untouched(int16_t(3)), keepType(5);
  EXPECT_EQ(callMethod(*s, "Twice", {byRef(same)}), Variant(int16_t(42)));  // the declared type: bound directly
  callMethod(*s, "Twice", {byRef(other)});                                  // another type: converted, copied back
  callMethod(*s, "Twice", {Arg(untouched)});                                // by value to a by-ref parameter
  callMethod(*s, "Touch", {byRef(keepType)});                               // converted but not written
  EXPECT_EQ(same, Variant(int16_t(42)));
  EXPECT_EQ(other, Variant(int16_t(8)));
  EXPECT_EQ(untouched, Variant(int16_t(3)));
  EXPECT_EQ(keepType, Variant(5));
  // Directly bound writes survive an error.
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Fail", {byRef(same)}), err::InvalidCall, "refused");
  EXPECT_EQ(same, Variant(int16_t(99)));
}

class Counted : public Object {  // counts its destruction, to prove exact reference counts
 public:
  explicit Counted(int& destroyed) : destroyed_(destroyed) {}
  ~Counted() override { ++destroyed_; }
  Variant invoke(std::string_view, InvokeKind, std::span<Arg>) override { raise(err::MemberMissing); }
  std::string_view typeName() const override { return "Counted"; }
  int& destroyed_;
};

TEST(ObjectRef, CountsReferencesExactlyAndChecksTheClass) {
  int destroyed = 0;
  {
    Ref<Counted> a = makeObject<Counted>(destroyed);
    EXPECT_EQ(a->refCount(), 1u);
    ObjectRef b = a;
    EXPECT_EQ(a->refCount(), 2u);
    ObjectRef c = std::move(b);
    EXPECT_FALSE(b);
    Object* raw = c.detach();
    ObjectRef d;
    d.attach(raw);
    EXPECT_EQ(a->refCount(), 2u);  // neither the move nor detach/attach counts
    EXPECT_TRUE(d == a);
    Variant v(d);
    EXPECT_EQ(a->refCount(), 3u);
    EXPECT_TRUE(objectAs<Counted>(d));
    EXPECT_FALSE(objectAs<Collection>(d));
    EXPECT_FALSE(objectAs<Counted>(ObjectRef()));
  }
  EXPECT_EQ(destroyed, 1);
  EXPECT_AUTOMATION_ERROR(requireObject(ObjectRef()), err::ObjectNotSet, "not set");
  EXPECT_AUTOMATION_ERROR(requireObject(Variant("x")), err::TypeMismatch, "Type mismatch");
}

TEST(Collection, AddsItemsWithKeysAndPositionsAndRejectsBadOnes) {
  auto c = makeObject<Collection>();
  callMethod(*c, "Add", {Variant("a")});
  callMethod(*c, "add", {Variant("b"), Variant("KeyB")});
  callMethod(*c, "Add", {Variant("first"), Arg::missing(), Variant(1)});
  callMethod(*c, "Add", {Variant("last"), Arg::missing(), Arg::missing(), Variant(3)});
  EXPECT_EQ(getProperty(*c, "Count"), Variant(4));
  EXPECT_EQ(getProperty(*c, "", {Variant(1)}), Variant("first"));
  EXPECT_EQ(getProperty(*c, "Item", {Variant("keyb")}), Variant("b"));
  EXPECT_EQ(getProperty(*c, "Item", {Variant(4)}), Variant("last"));
  callMethod(*c, "Remove", {Variant("KEYB")});
  EXPECT_EQ(c->count(), 3);
  EXPECT_EQ(c->item(3), Variant("last"));

  c = makeObject<Collection>();
  callMethod(*c, "Add", {Variant("a"), Variant("k")});
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant(2)}), err::Subscript, "Subscript");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant(0)}), err::Subscript, "Subscript");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant("nokey")}), err::InvalidCall, "Invalid");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Add", {Variant("b"), Variant("K")}), err::DuplicateKey, "key");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Remove", {Variant(5)}), err::Subscript, "Subscript");
  EXPECT_EQ(c->count(), 1);
}

}  // namespace
}  // namespace zadeve::automation
