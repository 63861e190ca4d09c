// Per-button state and combo lists.

#include <algorithm>

#include "automation/conversions.h"
#include "automation/error.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using automation::err::InvalidCall;
using automation::err::Subscript;

namespace {

void checkEntry(const ComboData& combo, int32_t entry, int32_t last) {
  if (entry < 0 || entry > last)
    automation::raise(Subscript, "List index " + std::to_string(entry) + " is out of range (the list has " +
                                     std::to_string(combo.entries.size()) + " entries)");
}

int32_t lastEntry(const ComboData& combo) { return static_cast<int32_t>(combo.entries.size()) - 1; }

}  // namespace

void ReVivezav::setFlags(int32_t index, int16_t flags) {
  Item& item = itemAt(index);
  int16_t before = item.flags;
  item.flags = flags;
  if ((before ^ flags) & (BF_CAPTIONMASK | BF_MAXWIDTH))
    changed();
  else if (before != flags)
    repaint();
}

void ReVivezav::setEnabled(int32_t index, bool enabled) {
  itemAt(index).setEnabled(enabled);
  repaint();
}

void ReVivezav::setItemVisible(int32_t index, bool visible) {
  Item& item = itemAt(index);
  if (item.visible == visible) return;
  item.visible = visible;
  changed();
}

void ReVivezav::setCaption(int32_t index, std::string caption) {
  Item& item = itemAt(index);
  if (item.caption == caption) return;
  item.caption = std::move(caption);
  if (showsCaption(item)) changed();
}

void ReVivezav::setTooltip(int32_t index, std::string tooltip) { itemAt(index).tooltip = std::move(tooltip); }

void ReVivezav::setProgress(int32_t index, int16_t progress) {
  itemAt(index).panel.progress = progress;
  repaint();
}

Item& ReVivezav::spinAt(int32_t index) {
  Item& item = itemAt(index);
  if (item.kind != ItemKind::Spin)
    automation::raise(InvalidCall, "Button " + std::to_string(index) + " (" + item.tag + ") is not a spin");
  return item;
}

void ReVivezav::setSpinValue(int32_t index, float value) {
  SpinData& spin = spinAt(index).spin;
  spin.value = spin.limited() ? std::clamp(value, spin.minimum, spin.maximum) : value;
  repaint();
}

Item& ReVivezav::comboAt(int32_t index) {
  Item& item = itemAt(index);
  if (item.kind != ItemKind::Combo)
    automation::raise(InvalidCall, "Button " + std::to_string(index) + " (" + item.tag + ") is not a combo");
  return item;
}

int32_t ReVivezav::addListItem(int32_t combo, std::string text, int32_t at) {
  ComboData& list = comboAt(combo).combo;
  if (at == -1) at = lastEntry(list) + 1;
  checkEntry(list, at, lastEntry(list) + 1);
  list.entries.insert(list.entries.begin() + at, ComboEntry{std::move(text), 0});
  if (list.listIndex >= at) ++list.listIndex;
  list.newIndex = at;
  repaint();
  return at;
}

void ReVivezav::removeListItem(int32_t combo, int32_t entry) {
  ComboData& list = comboAt(combo).combo;
  checkEntry(list, entry, lastEntry(list));
  list.entries.erase(list.entries.begin() + entry);
  if (list.listIndex == entry)
    list.listIndex = -1;
  else if (list.listIndex > entry)
    --list.listIndex;
  list.newIndex = -1;
  repaint();
}

void ReVivezav::clearList(int32_t combo) {
  ComboData& list = comboAt(combo).combo;
  list.entries.clear();
  list.listIndex = -1;
  list.newIndex = -1;
  repaint();
}

void ReVivezav::setListText(int32_t combo, int32_t entry, std::string text) {
  ComboData& list = comboAt(combo).combo;
  checkEntry(list, entry, lastEntry(list));
  list.entries[static_cast<size_t>(entry)].text = std::move(text);
  repaint();
}

void ReVivezav::setListData(int32_t combo, int32_t entry, int32_t data) {
  ComboData& list = comboAt(combo).combo;
  checkEntry(list, entry, lastEntry(list));
  list.entries[static_cast<size_t>(entry)].data = data;
}

void ReVivezav::setListIndex(int32_t combo, int32_t entry) {
  ComboData& list = comboAt(combo).combo;
  if (entry != -1) checkEntry(list, entry, lastEntry(list));
  list.listIndex = entry;
  repaint();
}

}  // namespace zadeve::vizevore
