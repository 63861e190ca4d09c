// What a person does to the bar, and the events that follow. Handlers run inside the
// action and may change the bar (even empty it), so an item is found again by its id
// after its event instead of being held across the call.

#include <algorithm>
#include <vector>

#include "automation/conversions.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using automation::Arg;
using automation::Variant;

bool ReVivezav::canAct(const Item& item) const {
  if (!visible_ || !item.visible || !item.enabled()) return false;
  if (item.menu >= 0 && item.menu < itemCount()) return canAct(items_[static_cast<size_t>(item.menu)]);
  return true;
}

bool ReVivezav::raiseEvent(int32_t index, std::string_view event, std::span<Arg> args) {
  // A handler may drop the last reference to this bar (a form unloading itself).
  auto keepAlive = automation::keepAlive(*this);
  if (index >= 0) current_ = index;
  if (sink_) sink_->controlEvent(*this, event, args);
  return true;
}

bool ReVivezav::raiseValue(int32_t index, std::string_view event, float value) {
  auto keepAlive = automation::keepAlive(*this);
  const uint32_t id = items_[static_cast<size_t>(index)].id;
  Variant v(value);
  Arg arg = automation::byRef(v);
  raiseEvent(index, event, std::span<Arg>(&arg, 1));
  int32_t now = indexOfId(id);
  if (now >= 0) setSpinValue(now, automation::toSingle(v));
  return true;
}

bool ReVivezav::click(int32_t index) {
  Item& item = itemAt(index);
  switch (item.kind) {
    case ItemKind::PushButton:
    case ItemKind::ToggleButton:
    case ItemKind::MenuItem:
    case ItemKind::Panel: break;
    default: return false;  // menus and combos open, spins and spacers do nothing
  }
  if (!canAct(item)) return false;
  if (item.flags & BF_TOGGLE) {
    item.flags = static_cast<int16_t>(item.flags ^ BF_ON);
    repaint();
  }
  return raiseEvent(index, events::ButtonClick, {});
}

bool ReVivezav::pick(int32_t combo, int32_t entry) {
  Item& item = comboAt(combo);
  if (entry < 0 || entry >= static_cast<int32_t>(item.combo.entries.size()))
    automation::raise(automation::err::Subscript, "List index " + std::to_string(entry) +
                                                      " is out of range (the list has " +
                                                      std::to_string(item.combo.entries.size()) + " entries)");
  if (!canAct(item)) return false;
  item.combo.listIndex = entry;
  repaint();
  return raiseEvent(combo, events::ButtonClick, {});
}

bool ReVivezav::spinUp(int32_t spin) {
  Item& item = spinAt(spin);
  if (!canAct(item)) return false;
  setSpinValue(spin, item.spin.value + item.spin.step);
  return raiseValue(spin, events::ButtonSpinUp, item.spin.value);
}

bool ReVivezav::spinDown(int32_t spin) {
  Item& item = spinAt(spin);
  if (!canAct(item)) return false;
  setSpinValue(spin, item.spin.value - item.spin.step);
  return raiseValue(spin, events::ButtonSpinDown, item.spin.value);
}

bool ReVivezav::typeValue(int32_t spin, float value) {
  Item& item = spinAt(spin);
  if (!canAct(item)) return false;
  setSpinValue(spin, value);
  return raiseValue(spin, events::ButtonChange, item.spin.value);
}

bool ReVivezav::commitValue(int32_t spin) {
  Item& item = spinAt(spin);
  if (!canAct(item)) return false;
  return raiseValue(spin, events::ButtonValue, item.spin.value);
}

bool ReVivezav::contextMenu(float x, float y) {
  if (!visible_) return false;
  constexpr int16_t rightButton = 2;
  std::vector<Arg> args{Arg(rightButton), Arg(int16_t{0}), Arg(x), Arg(y)};
  return raiseEvent(-1, events::BarContextMenu, args);
}

}  // namespace zadeve::vizevore
