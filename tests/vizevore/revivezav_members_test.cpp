// The members the library relies on, driven by name as the library drives them.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

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
  callMethod(*bar, "AddMenuItem", {Variant("entry"), Variant(""), Variant(""), Variant("Entry")});
  addPanel(*bar, "panel", "");
  addSpin(*bar, "spin", 0, 0, 0, 0);
  addCombo(*bar, "combo", "");
  callMethod(*bar, "AddGap");
  callMethod(*bar, "AddSeparator");
  const int32_t expected[] = {10, 10, 10, 10, 20, 30, 40, 1, 1};
  ASSERT_EQ(getLong(*bar, "ButtonCount"), 9);
  for (int16_t i = 0; i < 9; ++i) {
    select(*bar, i);
    EXPECT_EQ(getLong(*bar, "ButtonType"), expected[i]) << "button " << i;
  }
}

TEST(ReVivezavMembers, FlagsKeepEveryBitAndBumpIsTheDisabledMarkOfButtonsOnly) {
  auto bar = newBar();
  addPush(*bar, "a", "-1.-1", "Open a file", BF_TOGGLE | BF_CAPABOVE);
  addPanel(*bar, "p", "");
  select(*bar, 0);
  letProperty(*bar, "PushButtonFlags", int16_t(-32768 | BF_ON | BF_TOGGLE));
  letProperty(*bar, "ButtonEnabled", int16_t{0});
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), -32768 | BF_ON | BF_TOGGLE | BF_BUMP);
  letProperty(*bar, "PushButtonFlags", int16_t{BF_ON});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  EXPECT_EQ(automation::toString(get(*bar, "ButtonTooltip")), "Open a file");

  // A panel's BF_BUMP is its raised look; its enabled state is kept apart.
  select(*bar, 1);
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_DIP);
  letProperty(*bar, "PushButtonFlags", int16_t{BF_BUMP});
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(true));
  letProperty(*bar, "ButtonEnabled", false);
  EXPECT_EQ(getLong(*bar, "PushButtonFlags"), BF_BUMP);
  EXPECT_EQ(get(*bar, "ButtonEnabled"), Variant(false));
}

TEST(ReVivezavMembers, ButtonObjectCarriesCaptionProgressAndVisibility) {
  auto bar = newBar();
  addPanel(*bar, "Status", "120");
  addPush(*bar, "b");
  auto panel = button(*bar, "Status");
  letProperty(*panel, "Caption", "Ready");
  EXPECT_EQ(automation::toString(get(*panel, "Caption")), "Ready");
  letProperty(*panel, "Progress", int16_t{150});  // kept as written
  EXPECT_EQ(bar->item(0).panel.progress, 150);
  letProperty(*button(*bar, "b"), "Visible", int16_t{0});
  EXPECT_FALSE(bar->item(1).visible);
  EXPECT_TRUE(get(*button(*bar, "b"), "PlaceholderFor").isNothing());
}

TEST(ReVivezavMembers, ListControlKeepsEntriesDataAndTheSelectedEntry) {
  auto bar = newBar();
  addCombo(*bar, "Font", "a;b");
  auto list = automation::toObject(get(*button(*bar, "Font"), "PlaceholderFor"));
  ASSERT_TRUE(list);
  callMethod(*list, "AddItem", {Variant("Courier")});
  EXPECT_EQ(getLong(*list, "NewIndex"), 2);
  std::vector<Arg> data{Arg(int32_t{2}), Arg(int32_t{102})};
  list->invoke("ItemData", automation::InvokeKind::PropertyLet, data);
  letProperty(*list, "ListIndex", int32_t{2});

  // A second lookup reaches the same list; the selection follows insertions and removals.
  auto again = automation::toObject(get(*button(*bar, "font"), "PlaceholderFor"));
  callMethod(*again, "AddItem", {Variant("first"), Variant(int32_t{0})});
  EXPECT_EQ(getLong(*again, "NewIndex"), 0);
  EXPECT_EQ(automation::toLong(get(*again, "ItemData", {int32_t{3}})), 102);
  EXPECT_EQ(automation::toString(get(*again, "")), "Courier");
  callMethod(*again, "AddItem", {Variant("Arial"), Variant(int32_t{3})});  // in the selected entry's place
  EXPECT_EQ(automation::toString(get(*again, "")), "Courier");
  callMethod(*again, "RemoveItem", {Variant(int32_t{0})});
  EXPECT_EQ(getLong(*again, "ListIndex"), 3);
  callMethod(*again, "RemoveItem", {Variant(int32_t{3})});
  EXPECT_EQ(getLong(*again, "ListIndex"), -1);
  callMethod(*again, "Clear");
  EXPECT_EQ(getLong(*again, "ListCount"), 0);
  EXPECT_EQ(getLong(*again, "NewIndex"), -1);
}

}  // namespace
}  // namespace zadeve::vizevore::testing
