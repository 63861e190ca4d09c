// The state copy between two bars (CopyStateFromReVivezavAsObject). A bar of our own class
// is read directly. Any other toolbar (a host's own control, a script's class standing in
// for one) is read late-bound, through the members every toolbar answers, in one fixed
// order per button, since the host sees each call:
//   source(fn) -> button; source.buttonIndex = button.Index; source.PushButtonFlags;
//   source.ButtonEnabled; [combo] source.ButtonListIndex; button.Caption;
//   [combo] button.PlaceholderFor -> list: ListCount, then List(i), ItemData(i) per entry.

#include <algorithm>
#include <map>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using automation::getProperty;
using automation::Object;
using automation::ObjectRef;
using automation::Variant;

namespace {

[[noreturn]] void raiseMissing(const std::string& tag) {
  automation::raise(automation::err::TypeMismatch,
                    "The source bar has no matching button for \"" + tag + "\"; the other states were copied");
}

// What a toolbar of another class tells of one of its buttons.
struct ToolbarButtonState {
  int16_t flags = 0;
  bool enabled = true;
  std::string caption;
  int32_t listIndex = -1;
  bool hasList = false;
  std::vector<ComboEntry> entries;
};

ToolbarButtonState readButton(Object& source, Object& button, bool combo) {
  ToolbarButtonState s;
  automation::letProperty(source, "buttonIndex", Variant(automation::toInteger(getProperty(button, "Index"))));
  s.flags = automation::toInteger(getProperty(source, "PushButtonFlags"));
  s.enabled = automation::toBoolean(getProperty(source, "ButtonEnabled"));
  if (combo) s.listIndex = automation::toLong(getProperty(source, "ButtonListIndex"));
  s.caption = automation::toString(getProperty(button, "Caption"));
  if (!combo) return s;
  ObjectRef list = automation::toObject(getProperty(button, "PlaceholderFor"));
  if (!list) return s;
  s.hasList = true;
  const int32_t count = automation::toLong(getProperty(*list, "ListCount"));
  for (int32_t i = 0; i < count; ++i) {
    std::string text = automation::toString(getProperty(*list, "List", {Variant(i)}));
    s.entries.push_back({std::move(text), automation::toLong(getProperty(*list, "ItemData", {Variant(i)}))});
  }
  return s;
}

}  // namespace

void ReVivezav::copyStateFrom(const ReVivezav& source) {
  if (&source == this) return;
  // The n-th button of a name here takes the n-th button of that name there.
  std::map<std::string, std::vector<const Item*>> byName;
  for (const Item& item : source.items_)
    if (!item.tag.empty()) byName[automation::toUpper(item.tag)].push_back(&item);
  std::map<std::string, size_t> seen;
  std::string missing;
  bool relayout = false;
  for (Item& item : items_) {
    if (item.tag.empty()) continue;
    std::string key = automation::toUpper(item.tag);
    size_t n = seen[key]++;
    auto found = byName.find(key);
    if (found == byName.end() || n >= found->second.size()) {
      if (missing.empty()) missing = item.tag;
      continue;
    }
    const Item& from = *found->second[n];
    item.flags = static_cast<int16_t>((item.flags & ~BF_ON) | (from.flags & BF_ON));
    item.setEnabled(from.enabled());
    relayout = relayout || item.visible != from.visible || item.caption != from.caption;
    item.visible = from.visible;
    item.caption = from.caption;
    item.tooltip = from.tooltip;
    item.panel.progress = from.panel.progress;
    if (item.buttonType() != from.buttonType()) {
      if (missing.empty()) missing = item.tag;
      continue;
    }
    if (item.kind == ItemKind::Spin)
      item.spin.value = item.spin.limited() ? std::clamp(from.spin.value, item.spin.minimum, item.spin.maximum)
                                            : from.spin.value;
    if (item.kind == ItemKind::Combo) {
      item.combo.entries = from.combo.entries;
      item.combo.listIndex = from.combo.listIndex;
      item.combo.newIndex = from.combo.newIndex;
    }
  }
  if (relayout)
    changed();
  else
    repaint();
  if (!missing.empty()) raiseMissing(missing);
}

void ReVivezav::copyStateFromToolbar(Object& source) {
  if (auto* bar = dynamic_cast<ReVivezav*>(&source)) return copyStateFrom(*bar);
  // The source's code runs inside each read and may change this bar: buttons are named
  // by id, not held across a call.
  std::vector<std::pair<uint32_t, std::string>> named;
  for (const Item& item : items_)
    if (!item.tag.empty()) named.emplace_back(item.id, item.tag);
  std::string missing;
  for (const auto& [id, tag] : named) {
    ObjectRef button = automation::toObject(getProperty(source, "", {Variant(tag)}));
    int32_t at = indexOfId(id);
    if (!button || at < 0) {
      if (!button && missing.empty()) missing = tag;
      continue;
    }
    const bool combo = items_[static_cast<size_t>(at)].kind == ItemKind::Combo;
    ToolbarButtonState state = readButton(source, *button, combo);
    if ((at = indexOfId(id)) < 0) continue;
    Item& item = items_[static_cast<size_t>(at)];
    item.flags = static_cast<int16_t>((item.flags & ~BF_ON) | (state.flags & BF_ON));
    item.setEnabled(state.enabled);
    if (combo && state.hasList) {
      ComboData& list = item.combo;
      list.entries = std::move(state.entries);
      const bool inList = state.listIndex >= 0 && state.listIndex < static_cast<int32_t>(list.entries.size());
      list.listIndex = inList ? state.listIndex : -1;
      list.newIndex = -1;
    } else if (combo && missing.empty()) {
      missing = tag;  // a button of another kind there
    }
    setCaption(at, std::move(state.caption));  // last: it may lay the bar out
  }
  repaint();
  if (!missing.empty()) raiseMissing(missing);
}

}  // namespace zadeve::vizevore
