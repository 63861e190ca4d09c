// CopyStateFromReVivezavAsObject: how a palette's bar and its host bar stay in step.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"
#include "support/automation_assert.h"

namespace zadeve::vizevore::testing {
namespace {

using automation::callMethod;
using automation::letProperty;

// The same bar, as the builder makes it from one section.
Ref<ReVivezav> filledBar() {
  auto bar = newBar();
  addToggle(*bar, "Bold");
  addPush(*bar, "Save");
  callMethod(*bar, "AddGap");
  addCombo(*bar, "Font", "");
  addSpin(*bar, "Zoom", 100, 10, 400, 10);
  addPanel(*bar, "Status", "");
  return bar;
}

void copy(ReVivezav& to, ReVivezav& from) {
  Variant source{Ref<ReVivezav>(&from)};
  callMethod(to, "CopyStateFromReVivezavAsObject", {automation::byRef(source)});
}

TEST(ReVivezavStateCopy, TheTargetTakesOverEveryChangedState) {
  auto host = filledBar();
  host->click(0);                       // Bold on
  host->setEnabled(1, false);           // Save disabled
  host->addListItem(3, "Arial");
  host->addListItem(3, "Courier");
  host->setListData(3, 1, 7);
  host->setListIndex(3, 1);
  host->setSpinValue(4, 250);
  host->setCaption(5, "Ready");
  host->setProgress(5, 40);
  host->setItemVisible(1, false);

  auto palette = filledBar();
  copy(*palette, *host);
  EXPECT_EQ(palette->item(0).flags, BF_TOGGLE | BF_ON);
  EXPECT_FALSE(palette->item(1).enabled());
  EXPECT_FALSE(palette->item(1).visible);
  ASSERT_EQ(palette->item(3).combo.entries.size(), 2u);
  EXPECT_EQ(palette->item(3).combo.entries[1].data, 7);
  EXPECT_EQ(palette->item(3).combo.listIndex, 1);
  EXPECT_EQ(palette->item(4).spin.value, 250);
  EXPECT_EQ(palette->item(5).caption, "Ready");
  EXPECT_EQ(palette->item(5).panel.progress, 40);

  // And back: what changed on the palette returns to the host.
  palette->click(0);
  copy(*host, *palette);
  EXPECT_FALSE(host->item(0).on());
}

TEST(ReVivezavStateCopy, OnlyStateBitsAreCopied) {
  auto from = newBar();
  addPush(*from, "a", "-1.-1", "", BF_ON | BF_CAPRIGHT);
  auto to = newBar();
  addPush(*to, "a", "-1.-1", "", BF_TOGGLE);
  to->copyStateFrom(*from);
  EXPECT_EQ(to->item(0).flags, BF_TOGGLE | BF_ON);
}

TEST(ReVivezavStateCopy, ButtonsOfOneNameArePairedInOrder) {
  auto from = newBar();
  addToggle(*from, "Grid");
  addToggle(*from, "grid");
  from->click(1);
  auto to = newBar();
  addToggle(*to, "GRID");
  addToggle(*to, "Grid");
  to->copyStateFrom(*from);
  EXPECT_FALSE(to->item(0).on());
  EXPECT_TRUE(to->item(1).on());
}

TEST(ReVivezavStateCopy, AMissingOrDifferentButtonIsATypeMismatchAfterTheRestIsCopied) {
  auto from = newBar();
  addToggle(*from, "Bold");
  addPush(*from, "Font");  // a combo on the target
  from->click(0);
  auto to = filledBar();
  EXPECT_AUTOMATION_ERROR(copy(*to, *from), 13, "no matching button");
  EXPECT_TRUE(to->item(0).on());
}

TEST(ReVivezavStateCopy, TheSourceMustBeABar) {
  auto bar = filledBar();
  Variant nothing = Variant::nothing();
  EXPECT_AUTOMATION_ERROR(callMethod(*bar, "CopyStateFromReVivezavAsObject", {automation::byRef(nothing)}), 91,
                          "not Nothing");
  Variant other(automation::makeObject<automation::Collection>());
  EXPECT_AUTOMATION_ERROR(callMethod(*bar, "CopyStateFromReVivezavAsObject", {automation::byRef(other)}), 13,
                          "not a Collection");
  copy(*bar, *bar);  // itself: nothing to do
}

}  // namespace
}  // namespace zadeve::vizevore::testing
