#include "automation/member_table.h"

#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "support/automation_assert.h"

namespace zadeve::automation {
namespace {

// A small class exercising every binding rule.
class Sample : public Dispatchable<Sample> {
 public:
  static const MemberTable<Sample>& memberTable() {
    using V = VarType;
    static const MemberTable<Sample> table(
        "Sample",
        {
            {{"Title", 1, InvokeKind::PropertyGet, {}, V::String},
             [](Sample& s, CallArgs&) { return Variant(s.title); }},
            {{"Title", 1, InvokeKind::PropertyLet, {byVal("value", V::String)}},
             [](Sample& s, CallArgs& a) {
               s.title = a[0].string();
               return Variant();
             }},
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
               std::string r = a[0].string() + a[1].string();
               if (!a.isMissing(2)) r += toString(a[2]);
               return Variant(r);
             }},
            {{"Touch", 4, InvokeKind::Method, {byRef("v", V::String)}},
             [](Sample&, CallArgs&) { return Variant(); }},
            {{"Item", 0, InvokeKind::PropertyGet, {byVal("key", V::String)}, V::String, true},
             [](Sample&, CallArgs& a) { return Variant("item " + a[0].string()); }},
            {{"Fail", 5, InvokeKind::Method, {byRef("n", V::Integer)}},
             [](Sample&, CallArgs& a) -> Variant {
               a[0] = Variant(int16_t(99));
               raise(err::InvalidCall, "refused");
             }},
        });
    return table;
  }
  std::string title;
};

TEST(MemberTable, FindsMembersCaseInsensitivelyAndByKind) {
  auto s = makeObject<Sample>();
  letProperty(*s, "TITLE", Variant(int16_t(7)));  // converted to the declared String
  EXPECT_EQ(getProperty(*s, "title"), Variant("7"));
  EXPECT_EQ(callMethod(*s, "Title"), Variant("7"));  // a method call may read a property
  EXPECT_EQ(getProperty(*s, "", {Variant("x")}), Variant("item x"));
  EXPECT_AUTOMATION_ERROR(letProperty(*s, "Join", Variant("x")), err::MemberMissing, "support");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Nope"), err::MemberMissing, "support");
  EXPECT_EQ(s->typeName(), "Sample");
}

TEST(MemberTable, ByReferenceArgumentsWriteBack) {
  auto s = makeObject<Sample>();
  Variant same(int16_t(21));  // the declared type: bound directly
  EXPECT_EQ(callMethod(*s, "Twice", {byRef(same)}), Variant(int16_t(42)));
  EXPECT_EQ(same, Variant(int16_t(42)));

  Variant other("4");  // another type: converted in, copied back
  callMethod(*s, "Twice", {byRef(other)});
  EXPECT_EQ(other, Variant(int16_t(8)));

  Variant untouched(int16_t(3));  // a by-value argument to a by-ref parameter stays
  callMethod(*s, "Twice", {Arg(untouched)});
  EXPECT_EQ(untouched, Variant(int16_t(3)));

  Variant keepType(5);  // converted but not written: the caller keeps its type
  callMethod(*s, "Touch", {byRef(keepType)});
  EXPECT_EQ(keepType, Variant(5));

  // Directly bound writes survive an error.
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Fail", {byRef(same)}), err::InvalidCall, "refused");
  EXPECT_EQ(same, Variant(int16_t(99)));
}

TEST(MemberTable, OptionalParametersAndArgumentCounts) {
  auto s = makeObject<Sample>();
  EXPECT_EQ(callMethod(*s, "Join", {Variant("a")}), Variant("a-"));
  EXPECT_EQ(callMethod(*s, "Join", {Variant("a"), Arg::missing(), Variant(true)}), Variant("a-True"));
  EXPECT_EQ(callMethod(*s, "Join", {Variant("a"), Variant("b")}), Variant("ab"));
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Join"), err::ArgumentNotOptional, "a");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Join", {Variant("a"), Variant("b"), Variant("c"), Variant("d")}),
                          err::WrongArgumentCount, "Wrong number");
  EXPECT_AUTOMATION_ERROR(callMethod(*s, "Twice", {Variant("x")}), err::TypeMismatch, "Type mismatch");
}

}  // namespace
}  // namespace zadeve::automation
