#include <gtest/gtest.h>

#include "support/automation_assert.h"
#include "support/toolbar_fixture.h"

namespace zadeve::core {
namespace {

using BarProperties = support::ToolbarTest;

Ref<support::FakeToolbar> barWithTag(const std::string& tag) {
  auto bar = automation::makeObject<support::FakeToolbar>();
  bar->set("Tag", Variant(tag));
  return bar;
}

TEST_F(BarProperties, GetFindsTheFirstKeyFollowedByEqualsWithCase) {
  const std::tuple<const char*, const char*, Variant> cases[] = {
      {"Name=Homer;Home=LEFT", "Home", Variant("LEFT")}, {"Name=A;Home=LEFT", "Visible", Variant(int16_t(3))},
      {"FloatPos=1,2,3,4", "Pos", Variant("1,2,3,4")},   {"Name=", "Name", Variant("")},
      {"Home=left", "home", Variant(int16_t(3))},        {"Name=A;Name=B", "Name", Variant("A")},
  };
  for (const auto& [tag, key, expected] : cases) {
    Variant k(key), dv(int16_t(3));  // the default keeps its type
    EXPECT_EQ(automation::callMethod(*lib, "KaTGetProp", {Variant(ObjectRef(barWithTag(tag))), byRef(k), byRef(dv)}),
              expected)
        << tag << " / " << key;
  }
  // Positions are 16-bit: a field found beyond 32767 overflows, a key not found does not.
  auto huge = barWithTag(std::string(40000, 'x') + ";Name=Far");
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(huge), automation::err::Overflow, "Overflow");
  EXPECT_EQ(lib->KaTGetProp(huge, "Home", Variant("d")), Variant("d"));
  EXPECT_AUTOMATION_ERROR(lib->KaTBarName(barWithTag("Name=" + std::string(40000, 'y'))), 6, "Overflow");
  // The ";" of a key is where its value ends, before the value begins.
  EXPECT_AUTOMATION_ERROR(lib->KaTGetProp(barWithTag("Name=A;a;b=1"), "a;b", Variant("d")),
                          automation::err::InvalidCall, "Invalid procedure call");
}

TEST_F(BarProperties, SetReplacesInPlaceOrAppends) {
  const std::tuple<const char*, const char*, Variant, const char*> cases[] = {
      {"Home=LEFT;Name=A", "Home", Variant("TOP"), "Home=TOP;Name=A"},
      {"Name=A;Home=LEFT", "Visible", Variant(true), "Name=A;Home=LEFT;Visible=True"},
      {";", "Visible", Variant("Yes"), ";Visible=Yes"},
      {"Name=A;", "Visible", Variant("Yes"), "Name=A;;Visible=Yes"},
  };
  for (const auto& [before, key, value, after] : cases) {
    auto bar = barWithTag(before);
    lib->KaTSetProp(bar, key, value);
    EXPECT_EQ(bar->property("Tag"), Variant(after)) << before << " / " << key;
  }
}

}  // namespace
}  // namespace zadeve::core
