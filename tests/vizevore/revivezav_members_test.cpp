// The members the library relies on, driven by name as the library drives them.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;

TEST(ReVivezavMembers, KeyedLookupFindsTheButtonWhoseIndexMakesItCurrent) {
  auto bar = newBar();
  callMethod(*bar, "AddGap");
  addPush(*bar, "FileOpen");
  addCombo(*bar, "Font", "");
  addPush(*bar, "fileopen");  // the same name again: the first one wins

  auto open = button(*bar, "FILEOPEN");
  ASSERT_TRUE(open);
  EXPECT_EQ(getLong(*open, "Index"), 1);
  letProperty(*bar, "buttonIndex", get(*open, "Index"));
  EXPECT_EQ(automation::toString(get(*bar, "ButtonTag")), "FileOpen");

  EXPECT_FALSE(button(*bar, "NoSuchFunction"));
  EXPECT_FALSE(button(*bar, ""));  // gaps carry no name and are never found
}

TEST(ReVivezavMembers, ButtonTypeReportsEachKind) {
  auto bar = newBar();
  addPush(*bar, "push");
  addToggle(*bar, "toggle");
  callMethod(*bar, "AddMenu", {Variant("menu")});
  callMethod(*bar, "AddMenuItem", {Variant("entry"), Variant("-1.-1"), Variant(""), Variant("Entry")});
  addPanel(*bar, "panel", "");
  addSpin(*bar, "spin", 0, 0, 0, 0);
  addCombo(*bar, "combo", "");
  callMethod(*bar, "AddGap");
  callMethod(*bar, "AddSeparator");
  const int32_t expected[] = {KAT_PUSHBUTTON, KAT_PUSHBUTTON, KAT_PUSHBUTTON, KAT_PUSHBUTTON, KAT_PANEL,
                              KAT_SPIN,       KAT_COMBO,      KAT_GAP,        KAT_GAP};
  ASSERT_EQ(getLong(*bar, "ButtonCount"), 9);
  for (int16_t i = 0; i < 9; ++i) {
    letProperty(*bar, "buttonIndex", i);
    EXPECT_EQ(getLong(*bar, "ButtonType"), expected[i]) << "button " << i;
  }
}

TEST(ReVivezavMembers, FlagsKeepEveryBitAndTheDisabledMarkFollowsButtonEnabled) {
  auto bar = newBar();
  addPush(*bar, "a", "-1.-1", "", BF_TOGGLE | BF_CAPABOVE);
  addToggle(*bar, "t");
  addPanel(*bar, "p", "");
  letProperty(*bar, "buttonIndex", int16_t{0});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_TOGGLE | BF_CAPABOVE);
  letProperty(*bar, "PushButtonFlags", int16_t(-32768 | BF_ON | BF_TOGGLE));
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), -32768 | BF_ON | BF_TOGGLE);

  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  letProperty(*bar, "ButtonEnabled", int16_t{0});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags") & BF_BUMP, BF_BUMP);
  letProperty(*bar, "PushButtonFlags", int16_t{BF_ON});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));

  letProperty(*bar, "buttonIndex", int16_t{1});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_TOGGLE);
  letProperty(*bar, "buttonIndex", int16_t{2});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_DIP);
  // A panel's BF_BUMP is its raised look; its enabled state is kept apart.
  letProperty(*bar, "PushButtonFlags", int16_t{BF_BUMP});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  letProperty(*bar, "ButtonEnabled", false);
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_BUMP);
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(false));
}

TEST(ReVivezavMembers, TooltipTagAndListIndexActOnTheCurrentButton) {
  auto bar = newBar();
  addPush(*bar, "a", "-1.-1", "Open a file");
  addCombo(*bar, "c", "x;y");
  letProperty(*bar, "buttonIndex", int16_t{0});
  EXPECT_EQ(automation::toString(get(*bar, "ButtonTooltip")), "Open a file");
  letProperty(*bar, "ButtonTooltip", "Opens");
  EXPECT_EQ(bar->item(0).tooltip, "Opens");
  EXPECT_EQ(getLong(*bar, "ButtonListIndex"), -1);
  bar->setListIndex(1, 1);
  letProperty(*bar, "buttonIndex", int16_t{1});
  EXPECT_EQ(getLong(*bar, "ButtonListIndex"), 1);
}

TEST(ReVivezavMembers, ButtonObjectCarriesCaptionProgressAndVisibility) {
  auto bar = newBar();
  addPanel(*bar, "Status", "120");
  addPush(*bar, "b");
  auto panel = button(*bar, "Status");
  letProperty(*panel, "Caption", "Ready");
  EXPECT_EQ(automation::toString(get(*panel, "Caption")), "Ready");
  for (int16_t progress : {int16_t{150}, int16_t{-5}}) {
    letProperty(*panel, "Progress", progress);
    EXPECT_EQ(bar->item(0).panel.progress, progress);
  }
  letProperty(*button(*bar, "b"), "Visible", int16_t{0});
  EXPECT_FALSE(bar->item(1).visible);
  EXPECT_TRUE(get(*button(*bar, "b"), "PlaceholderFor").isNothing());
}

void letIndexed(Object& o, std::string_view name, int32_t index, Variant value) {
  std::vector<Arg> args{Arg(index), Arg(std::move(value))};
  o.invoke(name, automation::InvokeKind::PropertyLet, args);
}

TEST(ReVivezavMembers, ListControlBehindAComboKeepsEntriesDataAndSelection) {
  auto bar = newBar();
  addCombo(*bar, "Font", "");
  auto list = automation::toObject(get(*button(*bar, "Font"), "PlaceholderFor"));
  ASSERT_TRUE(list);
  EXPECT_EQ(getLong(*list, "ListIndex"), -1);
  int32_t data = 100;
  for (const char* text : {"Arial", "Courier", "Times"}) {
    callMethod(*list, "AddItem", {Variant(text)});
    letIndexed(*list, "ItemData", getLong(*list, "NewIndex"), data++);
  }
  EXPECT_EQ(getLong(*list, "NewIndex"), 2);
  letProperty(*list, "ListIndex", int32_t{1});

  // A second lookup reaches the same list.
  auto again = automation::toObject(get(*button(*bar, "font"), "PlaceholderFor"));
  EXPECT_EQ(getLong(*again, "ListCount"), 3);
  EXPECT_EQ(automation::toString(get(*again, "List", {int32_t{1}})), "Courier");
  EXPECT_EQ(automation::toLong(get(*again, "ItemData", {int32_t{2}})), 102);
  EXPECT_EQ(automation::toString(get(*again, "Text")), "Courier");
}

TEST(ReVivezavMembers, InsertingAndRemovingEntriesKeepsTheSelectedEntry) {
  auto bar = newBar();
  addCombo(*bar, "c", "a;b;c");
  auto list = automation::toObject(get(*button(*bar, "c"), "PlaceholderFor"));
  letProperty(*list, "ListIndex", int32_t{1});
  callMethod(*list, "AddItem", {Variant("first"), Variant(int32_t{0})});
  EXPECT_EQ(getLong(*list, "NewIndex"), 0);
  EXPECT_EQ(automation::toString(get(*list, "")), "b");
  callMethod(*list, "RemoveItem", {Variant(int32_t{0})});
  EXPECT_EQ(getLong(*list, "ListIndex"), 1);
  callMethod(*list, "RemoveItem", {Variant(int32_t{1})});
  EXPECT_EQ(getLong(*list, "ListIndex"), -1);
  callMethod(*list, "Clear");
  EXPECT_EQ(getLong(*list, "ListCount"), 0);
  EXPECT_EQ(getLong(*list, "NewIndex"), -1);
}

}  // namespace
}  // namespace zadeve::vizevore::testing
