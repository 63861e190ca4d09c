// CopyStateFromReVivezavAsObject: how a palette's bar and its host bar stay in step.

#include "revivezav_fixture.h"

namespace zadeve::vizevore::testing {
namespace {

// The same bar, as the builder makes it from one section.
Ref<ReVivezav> filledBar() {
  auto bar = newBar();
  addToggle(*bar, "Bold");
  addPush(*bar, "Save", "-1.-1", "", BF_CAPRIGHT);
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

TEST(ReVivezavStateCopy, TheTargetTakesOverEveryStateButNotTheLook) {
  auto host = filledBar();
  host->click(0);  // Bold on
  host->setFlags(1, BF_BUMP | BF_MAXWIDTH);  // Save disabled, and a look the palette lacks
  host->addListItem(3, "Arial");
  host->addListItem(3, "Courier");
  host->setListData(3, 1, 7);
  host->setListIndex(3, 1);
  host->setSpinValue(4, 250);
  host->setCaption(5, "Ready");
  host->setProgress(5, 40);
  host->setEnabled(5, false);
  host->setItemVisible(1, false);

  auto palette = filledBar();
  copy(*palette, *host);
  EXPECT_EQ(palette->item(0).flags, BF_TOGGLE | BF_ON);
  EXPECT_EQ(palette->item(1).flags, BF_CAPRIGHT | BF_BUMP);
  EXPECT_FALSE(palette->item(1).visible);
  ASSERT_EQ(palette->item(3).combo.entries.size(), 2u);
  EXPECT_EQ(palette->item(3).combo.entries[1].data, 7);
  EXPECT_EQ(palette->item(3).combo.listIndex, 1);
  EXPECT_EQ(palette->item(4).spin.value, 250);
  EXPECT_EQ(palette->item(5).caption, "Ready");
  EXPECT_EQ(palette->item(5).panel.progress, 40);
  EXPECT_FALSE(palette->item(5).enabled());

  // And back: what changed on the palette returns to the host.
  palette->click(0);
  copy(*host, *palette);
  EXPECT_FALSE(host->item(0).on());
  copy(*host, *host);  // itself: nothing to do
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
  for (bool lacking : {true, false}) {
    SCOPED_TRACE(lacking ? "lacking" : "of another type");
    auto from = newBar();
    addToggle(*from, "Bold");
    if (!lacking) addPush(*from, "Font");
    from->click(0);
    auto to = newBar();
    addCombo(*to, "Font", "");
    addToggle(*to, "Bold");
    EXPECT_AUTOMATION_ERROR(copy(*to, *from), 13, "no matching button for \"Font\"");
    EXPECT_TRUE(to->item(1).on());
  }
}

}  // namespace
}  // namespace zadeve::vizevore::testing
