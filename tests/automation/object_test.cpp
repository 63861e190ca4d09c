#include "automation/object.h"

#include <gtest/gtest.h>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "support/automation_assert.h"

namespace zadeve::automation {
namespace {

// Counts its own destruction so tests can prove exact reference counts.
class Counted : public Object {
 public:
  explicit Counted(int& destroyed) : destroyed_(destroyed) {}
  ~Counted() override { ++destroyed_; }
  Variant invoke(std::string_view, InvokeKind, std::span<Arg>) override { raise(err::MemberMissing); }
  std::string_view typeName() const override { return "Counted"; }

 private:
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
    EXPECT_EQ(a->refCount(), 2u);
    EXPECT_FALSE(b);
    Object* raw = c.detach();
    EXPECT_EQ(a->refCount(), 2u);
    ObjectRef d;
    d.attach(raw);
    EXPECT_EQ(a->refCount(), 2u);
    EXPECT_TRUE(d == a);
    Variant v(d);
    EXPECT_EQ(a->refCount(), 3u);
    EXPECT_TRUE(objectAs<Counted>(d));
    EXPECT_FALSE(objectAs<Collection>(d));
    EXPECT_FALSE(objectAs<Counted>(ObjectRef()));
  }
  EXPECT_EQ(destroyed, 1);
}

TEST(Collection, AddsItemsWithKeysAndPositions) {
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
}

TEST(Collection, RejectsBadPositionsAndKeys) {
  auto c = makeObject<Collection>();
  callMethod(*c, "Add", {Variant("a"), Variant("k")});
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant(2)}), err::Subscript, "Subscript");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant(0)}), err::Subscript, "Subscript");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Item", {Variant("nokey")}), err::InvalidCall, "Invalid");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Add", {Variant("b"), Variant("K")}), err::DuplicateKey, "key");
  EXPECT_AUTOMATION_ERROR(callMethod(*c, "Remove", {Variant(5)}), err::Subscript, "Subscript");
  EXPECT_EQ(c->count(), 1);
}

TEST(Dispatch, RequireObjectRaises91ForNothing) {
  EXPECT_AUTOMATION_ERROR(requireObject(ObjectRef()), err::ObjectNotSet, "not set");
  EXPECT_AUTOMATION_ERROR(requireObject(Variant("x")), err::TypeMismatch, "Type mismatch");
}

}  // namespace
}  // namespace zadeve::automation
