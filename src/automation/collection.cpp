#include "automation/collection.h"

namespace zadeve::automation {

void Collection::add(Variant item, std::optional<std::string> key) {
  insert(std::move(item), std::move(key), Variant::missing(), Variant::missing());
}

void Collection::insert(Variant item, std::optional<std::string> key, const Variant& before,
                        const Variant& after) {
  if (!before.isMissing() && !after.isMissing()) raise(err::InvalidCall);
  if (key) {
    for (const auto& e : items_)
      if (e.key && equalsIgnoreCase(*e.key, *key)) raise(err::DuplicateKey);
  }
  size_t at = items_.size();
  if (!before.isMissing()) at = static_cast<size_t>(positionOf(before) - 1);
  if (!after.isMissing()) at = static_cast<size_t>(positionOf(after));
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Entry{std::move(item), std::move(key)});
}

const Variant& Collection::item(int32_t index) const {
  if (index < 1 || index > count()) raise(err::Subscript);
  return items_[static_cast<size_t>(index - 1)].item;
}

void Collection::remove(int32_t index) {
  if (index < 1 || index > count()) raise(err::Subscript);
  items_.erase(items_.begin() + (index - 1));
}

int32_t Collection::positionOf(const Variant& indexOrKey) const {
  if (indexOrKey.isString()) {
    for (size_t i = 0; i < items_.size(); ++i)
      if (items_[i].key && equalsIgnoreCase(*items_[i].key, indexOrKey.string()))
        return static_cast<int32_t>(i + 1);
    raise(err::InvalidCall);
  }
  int32_t index = toLong(indexOrKey);
  if (index < 1 || index > count()) raise(err::Subscript);
  return index;
}

const MemberTable<Collection>& Collection::memberTable() {
  using V = VarType;
  static const MemberTable<Collection> table(
      "Collection",
      {
          {{"Add", 1, InvokeKind::Method,
            {byRef("Item", V::Variant), optionalParam(byRef("Key", V::Variant)),
             optionalParam(byRef("Before", V::Variant)), optionalParam(byRef("After", V::Variant))}},
           [](Collection& c, CallArgs& a) {
             std::optional<std::string> key;
             if (!a.isMissing(1)) key = a.string(1);
             c.insert(a[0], std::move(key), a[2], a[3]);
             return Variant();
           }},
          {{"Count", 2, InvokeKind::PropertyGet, {}, V::Long},
           [](Collection& c, CallArgs&) { return Variant(c.count()); }},
          {{"Item", 0, InvokeKind::Method, {byRef("Index", V::Variant)}, V::Variant, true},
           [](Collection& c, CallArgs& a) { return c.item(c.positionOf(a[0])); }},
          {{"Remove", 3, InvokeKind::Method, {byRef("Index", V::Variant)}},
           [](Collection& c, CallArgs& a) {
             c.remove(c.positionOf(a[0]));
             return Variant();
           }},
      });
  return table;
}

}  // namespace zadeve::automation
