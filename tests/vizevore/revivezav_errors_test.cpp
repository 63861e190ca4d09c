// Bad arguments to the members raise the runtime's errors with a description that names
// the member and the problem; none of them changes the bar.

#include <gtest/gtest.h>

#include <functional>

#include "revivezav_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;
namespace err = automation::err;

struct BadCall {
  const char* what;
  std::function<void(ReVivezav&)> call;
  int32_t number;
  const char* text;
};

void PrintTo(const BadCall& c, std::ostream* os) { *os << c.what; }

automation::ObjectRef listOf(ReVivezav& bar) { return automation::toObject(get(*button(bar, "c"), "PlaceholderFor")); }

const BadCall badCalls[] = {
    {"unknown member", [](ReVivezav& b) { callMethod(b, "Explode"); }, err::MemberMissing, "(ReVivezav.Explode)"},
    {"push button, seven arguments",
     [](ReVivezav& b) {
       callMethod(b, "AddPushButton", {Variant("x"), Variant(""), Variant(""), Variant(""), Variant(0.0),
                                       Variant(0.0), Variant(int16_t{16})});
     },
     err::ArgumentNotOptional, "AddPushButton"},
    {"menu, three arguments", [](ReVivezav& b) { callMethod(b, "AddMenu", {Variant("m"), Variant(""), Variant("")}); },
     err::WrongArgumentCount, "AddMenu"},
    {"image reference not numbers", [](ReVivezav& b) { addPush(b, "x", "two.five"); }, err::TypeMismatch,
     "Image reference \"two.five\""},
    {"flags beyond 16 bits", [](ReVivezav& b) { addPush(b, "x", "", "", 1e6); }, err::Overflow, "AddPushButton"},
    {"negative image size",
     [](ReVivezav& b) { callMethod(b, "SetImageSize", {Variant(int16_t{-1}), Variant(int16_t{16})}); },
     err::InvalidCall, "image width must lie between 0 and 4096"},
    {"image size not a number",
     [](ReVivezav& b) { callMethod(b, "SetImageSize", {Variant("big"), Variant(int16_t{16})}); },
     err::TypeMismatch, "SetImageSize"},
    {"huge button size", [](ReVivezav& b) { callMethod(b, "SetBarHeight", {Variant(int16_t{5000})}); },
     err::InvalidCall, "button size"},
    {"panel wider than the screen", [](ReVivezav& b) { addPanel(b, "p", "99999"); }, err::InvalidCall,
     "panel width"},
    {"image set of a number", [](ReVivezav& b) { callMethod(b, "AddImageSet", {Variant(int16_t{3})}); },
     err::TypeMismatch, "picture object"},
    {"image set of Nothing", [](ReVivezav& b) { callMethod(b, "AddImageSet", {Variant::nothing()}); },
     err::InvalidPicture, "not Nothing"},
    {"image set of another object",
     [](ReVivezav& b) { callMethod(b, "AddImageSet", {Variant(automation::makeObject<automation::Collection>())}); },
     err::InvalidPicture, "not a Collection"},
    {"image set numbered by a word",
     [](ReVivezav& b) { callMethod(b, "AddImageSet", {Variant(strip(16, 16)), Variant("two")}); },
     err::TypeMismatch, "Image set number \"two\""},
    {"current button out of range", [](ReVivezav& b) { letProperty(b, "buttonIndex", int16_t{2}); },
     err::Subscript, "Button index 2 is out of range"},
    {"negative width", [](ReVivezav& b) { letProperty(b, "Width", -5.0f); }, err::InvalidCall, "negative"},
    {"move beyond 32 bits",
     [](ReVivezav& b) { callMethod(b, "Move", {Variant(0.0f), Variant(0.0f), Variant(1e12f)}); }, err::Overflow,
     "Move"},
    {"z-order position 2", [](ReVivezav& b) { callMethod(b, "ZOrder", {Variant(int16_t{2})}); }, err::InvalidCall,
     "ZOrder position"},
    {"list entry out of range", [](ReVivezav& b) { get(*listOf(b), "List", {int32_t{2}}); }, err::Subscript,
     "List index 2 is out of range (the list has 2 entries) (ReVivezavList.List)"},
    {"item data before the list",
     [](ReVivezav& b) { get(*listOf(b), "ItemData", {int32_t{-1}}); }, err::Subscript, "List index -1"},
    {"selecting past the end", [](ReVivezav& b) { letProperty(*listOf(b), "ListIndex", int32_t{2}); },
     err::Subscript, "List index 2"},
    {"removing past the end", [](ReVivezav& b) { callMethod(*listOf(b), "RemoveItem", {Variant(int32_t{5})}); },
     err::Subscript, "List index 5"},
    {"inserting past the end",
     [](ReVivezav& b) { callMethod(*listOf(b), "AddItem", {Variant("z"), Variant(int32_t{3})}); }, err::Subscript,
     "List index 3"},
    {"button progress as text", [](ReVivezav& b) { letProperty(*button(b, "c"), "Progress", "half"); },
     err::TypeMismatch, "ReVivezavButton.Progress"},
};

class ReVivezavErrors : public ::testing::TestWithParam<BadCall> {};

TEST_P(ReVivezavErrors, RaiseTheRuntimesErrorAndLeaveTheBarAsItWas) {
  auto bar = newBar();
  addPush(*bar, "a");
  addCombo(*bar, "c", "x;y");
  letProperty(*bar, "Width", 3000.0f);
  const int32_t layouts = bar->layoutCount();
  EXPECT_AUTOMATION_ERROR(GetParam().call(*bar), GetParam().number, GetParam().text);
  EXPECT_EQ(bar->itemCount(), 2);
  EXPECT_EQ(bar->width(), 3000);
  EXPECT_EQ(bar->item(1).combo.entries.size(), 2u);
  EXPECT_EQ(bar->layoutCount(), layouts);
}

INSTANTIATE_TEST_SUITE_P(BadArguments, ReVivezavErrors, ::testing::ValuesIn(badCalls));

}  // namespace
}  // namespace zadeve::vizevore::testing
