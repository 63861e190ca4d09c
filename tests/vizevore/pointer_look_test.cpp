// What a window around the bar relies on: hit testing that agrees with the painting, the
// looks of the mouse over and on an item, and a word to the window whenever the bar looks
// different or moves.

#include <gtest/gtest.h>

#include "revivezav_fixture.h"
#include "vizevore/paint.h"

namespace zadeve::vizevore::testing {
namespace {

struct Counting final : BarObserver {
  int changed = 0;
  int placed = 0;
  void barChanged() override { ++changed; }
  void barPlaced() override { ++placed; }
};

// Open | Bold | gap | Font combo | Size spin
Ref<ReVivezav> sampleBar() {
  auto bar = newBar();
  addPush(*bar, "Open", "-1.-1", "Open");
  addToggle(*bar, "Bold");
  callMethod(*bar, "AddGap", {});
  addCombo(*bar, "Font", "Arial;Times");
  addSpin(*bar, "Size", 10, 6, 72, 2);
  bar->move(0, 0, bar->idealLength(), bar->idealDepth());
  return bar;
}

Box boxOf(const ReVivezav& bar, int item) {
  const Rect& r = bar.item(item).pixelRect;
  return {r.left, r.top, r.width, r.height};
}

int differing(const Canvas& a, const Canvas& b, const Box& inside, bool countInside) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const bool in = x >= inside.x && y >= inside.y && x < inside.right() && y < inside.bottom();
      if (in == countInside && !(a.pixel(x, y) == b.pixel(x, y))) ++n;
    }
  return n;
}

TEST(PointerLook, HitTestFindsItemsAndTheirPartsAsPainted) {
  auto bar = sampleBar();
  const Box open = boxOf(*bar, 0), gap = boxOf(*bar, 2), combo = boxOf(*bar, 3), spin = boxOf(*bar, 4);
  struct Case {
    int x, y;
    PointerLook expected;
  } cases[] = {
      {open.x + 1, open.y + 1, {0, ItemPart::Face}},
      {gap.x + gap.w / 2, gap.y + gap.h / 2, {}},  // gaps are the bar's own room
      {combo.x + 4, combo.y + combo.h / 2, {3, ItemPart::Face}},
      {combo.right() - 6, combo.y + combo.h / 2, {3, ItemPart::DropButton}},
      {spin.x + 4, spin.y + spin.h / 2, {4, ItemPart::Face}},
      {spin.right() - 4, spin.y + 3, {4, ItemPart::SpinUp}},
      {spin.right() - 4, spin.bottom() - 3, {4, ItemPart::SpinDown}},
      {spin.right() + 50, spin.y, {}},
      {-1, -1, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(hitTest(*bar, c.x, c.y), c.expected) << c.x << "," << c.y;
  bar->setItemVisible(0, false);
  EXPECT_NE(hitTest(*bar, open.x + 1, open.y + 1).item, 0);
}

TEST(PointerLook, HoverAndPressChangeOnlyThePointedItemAndNotWhenDisabled) {
  auto bar = sampleBar();
  const Canvas plain = paintToolbar(*bar);
  const Box open = boxOf(*bar, 0), spin = boxOf(*bar, 4);
  const Canvas hot = paintToolbar(*bar, {0, ItemPart::Face, false});
  const Canvas pressed = paintToolbar(*bar, {0, ItemPart::Face, true});
  const Canvas arrow = paintToolbar(*bar, {4, ItemPart::SpinUp, true});
  EXPECT_GT(differing(plain, hot, open, true), 0);
  EXPECT_EQ(differing(plain, hot, open, false), 0);
  EXPECT_GT(differing(hot, pressed, open, true), 0);
  EXPECT_EQ(differing(plain, pressed, open, false), 0);
  EXPECT_GT(differing(plain, arrow, spin, true), 0);
  EXPECT_EQ(differing(plain, arrow, spin, false), 0);
  // A spin's field is not a button: the mouse over it changes nothing.
  EXPECT_EQ(differing(plain, paintToolbar(*bar, {4, ItemPart::Face, true}), spin, true), 0);

  bar->setEnabled(0, false);
  const Canvas disabled = paintToolbar(*bar);
  EXPECT_EQ(differing(disabled, paintToolbar(*bar, {0, ItemPart::Face, true}), open, true), 0);
}

TEST(PointerLook, TheObserverHearsOfEveryChangeAWindowMustShow) {
  auto bar = sampleBar();
  Counting seen;
  bar->setObserver(&seen);
  struct Step {
    const char* what;
    std::function<void()> act;
    bool look, place;
  } steps[] = {
      {"a pressed state", [&] { bar->setFlags(1, BF_TOGGLE | BF_ON); }, true, false},
      {"disabling", [&] { bar->setEnabled(0, false); }, true, false},
      {"a caption", [&] { bar->setCaption(0, "Load"); }, true, false},
      {"a spin value", [&] { bar->setSpinValue(4, 20); }, true, false},
      {"a list entry", [&] { bar->addListItem(3, "Mono"); }, true, false},
      {"a selection", [&] { bar->setListIndex(3, 1); }, true, false},
      {"a click on a toggle", [&] { bar->click(1); }, true, false},
      {"a new item", [&] { callMethod(*bar, "AddSeparator", {}); }, true, false},
      {"Refresh", [&] { bar->refresh(); }, true, false},
      {"Left", [&] { bar->setLeft(300); }, false, true},
      {"Visible", [&] { bar->setVisible(false); }, false, true},
      {"move", [&] { bar->move(0, 0, 3000, 400); }, true, true},
  };
  for (const Step& step : steps) {
    seen = {};
    step.act();
    EXPECT_EQ(seen.changed > 0, step.look) << step.what;
    EXPECT_EQ(seen.placed > 0, step.place) << step.what;
  }
  bar->setObserver(nullptr);
  seen = {};
  bar->refresh();
  EXPECT_EQ(seen.changed, 0);
}

}  // namespace
}  // namespace zadeve::vizevore::testing
