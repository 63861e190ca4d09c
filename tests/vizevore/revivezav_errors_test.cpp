// Bad arguments raise 13, 5 or 9 (91 for a missing source bar, which the library tells
// apart from 13) with a description that names the problem and, through automation, the
// member; none of them changes the bar.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

namespace err = automation::err;
using B = ReVivezav&;

struct BadCall {
  const char* what;
  void (*call)(B);
  int32_t number;
  const char* text;
  friend void PrintTo(const BadCall& c, std::ostream* os) { *os << c.what; }
};

// The bar of every row: push button "a" (0) and combo "c" (1) with entries x;y.
automation::ObjectRef listOf(B b) { return automation::toObject(get(*button(b, "c"), "PlaceholderFor")); }

void copyFrom(B b, Variant source) { callMethod(b, "CopyStateFromReVivezavAsObject", {automation::byRef(source)}); }

const BadCall badCalls[] = {
    {"image reference not numbers", [](B b) { addPush(b, "x", "two.five"); }, err::TypeMismatch,
     "Image reference \"two.five\" is not an icon-set number and an image index (ReVivezav.AddPushButton)"},
    {"negative image size", [](B b) { callMethod(b, "SetImageSize", {Variant(int16_t{-1}), Variant(int16_t{16})}); },
     err::InvalidCall, "The image width must lie between 0 and 4096 pixels, not -1"},
    {"image set numbered by a word",
     [](B b) { callMethod(b, "AddImageSet", {Variant(strip(16, 16)), Variant("two")}); }, err::TypeMismatch,
     "Image set number \"two\""},
    {"current button out of range", [](B b) { select(b, 2); }, err::Subscript,
     "Button index 2 is out of range (the bar has 2 buttons)"},
    {"negative width", [](B b) { letProperty(b, "Width", -5.0f); }, err::InvalidCall, "negative"},
    {"z-order position 2", [](B b) { callMethod(b, "ZOrder", {Variant(int16_t{2})}); }, err::InvalidCall,
     "ZOrder position"},
    {"copy from Nothing", [](B b) { copyFrom(b, Variant::nothing()); }, err::ObjectNotSet, "not Nothing"},
    // A collection is no toolbar: its default member refuses a function name.
    {"copy from another object", [](B b) { copyFrom(b, Variant(automation::makeObject<automation::Collection>())); },
     err::InvalidCall, "Invalid procedure call or argument (ReVivezav.CopyStateFromReVivezavAsObject)"},
    {"list entry out of range", [](B b) { get(*listOf(b), "List", {int32_t{2}}); }, err::Subscript,
     "List index 2 is out of range (the list has 2 entries) (ReVivezavList.List)"},
    {"removing past the end", [](B b) { callMethod(*listOf(b), "RemoveItem", {Variant(int32_t{2})}); },
     err::Subscript, "List index 2"},
    {"inserting past the end", [](B b) { callMethod(*listOf(b), "AddItem", {Variant("z"), Variant(int32_t{3})}); },
     err::Subscript, "List index 3"},
    // The user actions, typed.
    {"click past the end", [](B b) { b.click(2); }, err::Subscript, "Button index 2"},
    {"picking from a button", [](B b) { b.pick(0, 0); }, err::InvalidCall, "Button 0 (a) is not a combo"},
    {"picking past the list", [](B b) { b.pick(1, 2); }, err::Subscript, "List index 2"},
    {"spinning a combo", [](B b) { b.spinUp(1); }, err::InvalidCall, "Button 1 (c) is not a spin"},
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
  EXPECT_EQ(bar->item(1).combo.listIndex, -1);
  EXPECT_EQ(bar->layoutCount(), layouts);
}

INSTANTIATE_TEST_SUITE_P(BadArguments, ReVivezavErrors, ::testing::ValuesIn(badCalls));

}  // namespace
}  // namespace zadeve::vizevore::testing
