#include <gtest/gtest.h>

#include "automation/dispatch.h"
#include "core/zuzuzud_library.h"
#include "support/automation_assert.h"
#include "support/fake_object.h"

namespace zadeve::core {
namespace {

using automation::makeObject;
using support::FakeObject;

Ref<FakeObject> barWithTag(const std::string& tag) {
  auto bar = makeObject<FakeObject>("ReVivezav");
  bar->set("Tag", Variant(tag));
  return bar;
}

struct GetCase {
  const char* tag;
  const char* key;
  Variant dv;
  Variant expected;
};

TEST(BarProperties, GetFindsTheFirstKeyFollowedByEquals) {
  auto lib = makeObject<ZuzuzudLibrary>();
  const GetCase cases[] = {
      {"Name=A;Home=LEFT", "Home", Variant("Top"), Variant("LEFT")},
      {"Name=A;Home=LEFT", "Visible", Variant("No"), Variant("No")},
      {"FloatPos=1,2,3,4", "Pos", Variant(""), Variant("1,2,3,4")},
      {"Name=", "Name", Variant("x"), Variant("")},
      {"Home=left", "home", Variant("d"), Variant("d")},
      {"Name=A;Name=B", "Name", Variant(""), Variant("A")},
      {";;Visible=Yes;", "Visible", Variant(""), Variant("Yes")},
      {"Name=A", "Home", Variant(int16_t(3)), Variant(int16_t(3))},  // the default keeps its type
      {"Name=A", "Home", Variant::null(), Variant::null()},
  };
  for (const auto& c : cases) {
    auto bar = barWithTag(c.tag);
    Variant key(c.key), dv = c.dv;
    EXPECT_EQ(automation::callMethod(*lib, "KaTGetProp", {Variant(ObjectRef(bar)), byRef(key), byRef(dv)}), c.expected)
        << c.tag << " / " << c.key;
  }
}

struct SetCase {
  const char* before;
  const char* key;
  Variant value;
  const char* after;
};

TEST(BarProperties, SetReplacesInPlaceOrAppends) {
  auto lib = makeObject<ZuzuzudLibrary>();
  const SetCase cases[] = {
      {"Name=A;Home=LEFT", "Home", Variant("TOP"), "Name=A;Home=TOP"},
      {"Name=A;Home=LEFT", "Visible", Variant("Yes"), "Name=A;Home=LEFT;Visible=Yes"},
      {"", "Visible", Variant("Yes"), ";Visible=Yes"},
      {";", "Visible", Variant("Yes"), ";Visible=Yes"},
      {"Name=A;", "Visible", Variant("Yes"), "Name=A;;Visible=Yes"},
      {"Home=LEFT;Name=A", "Home", Variant("RIGHT"), "Home=RIGHT;Name=A"},
      {"Name=A", "Visible", Variant(true), "Name=A;Visible=True"},
      {"FloatPos=1,2", "FloatPos", Variant(int16_t(5)), "FloatPos=5"},
  };
  for (const auto& c : cases) {
    auto bar = barWithTag(c.before);
    lib->KaTSetProp(bar, c.key, c.value);
    EXPECT_EQ(bar->property("Tag"), Variant(c.after)) << c.before << " / " << c.key;
  }
}

TEST(BarProperties, BarNameAndErrorsReachTheCaller) {
  auto lib = makeObject<ZuzuzudLibrary>();
  EXPECT_EQ(lib->KaTBarName(barWithTag("Home=TOP;Name=Edit")), "Edit");
  EXPECT_EQ(lib->KaTBarName(barWithTag("Home=TOP")), "");

  auto noTag = makeObject<FakeObject>("NoTag");
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(noTag), 438, "support");
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(nullptr), 91, "not set");

  // Positions are 16-bit: a key found beyond 32767 overflows, one not found does not.
  auto huge = barWithTag(std::string(40000, 'x') + ";Name=Far");
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(huge), 6, "Overflow");
  EXPECT_EQ(lib->KaTGetProp(huge, "Home", Variant("d")), Variant("d"));
  auto longValue = barWithTag("Name=" + std::string(40000, 'y'));
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(longValue), 6, "Overflow");
}

}  // namespace
}  // namespace zadeve::core
