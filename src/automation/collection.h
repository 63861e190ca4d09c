#pragma once
// The runtime's Collection: 1-based items with optional case-insensitive string keys.
//   Add item, [key], [before], [after]; Count; Item(index or key) (default member);
//   Remove(index or key).

#include <optional>
#include <string>
#include <vector>

#include "automation/member_table.h"

namespace zadeve::automation {

class Collection : public Dispatchable<Collection> {
 public:
  static const MemberTable<Collection>& memberTable();

  // Typed face for C++ callers; positions are 1-based as in automation.
  void add(Variant item, std::optional<std::string> key = std::nullopt);
  int32_t count() const { return static_cast<int32_t>(items_.size()); }
  const Variant& item(int32_t index) const;
  void remove(int32_t index);

  // Accepts a position (number) or a key (string); raises 5 for an unknown key,
  // 9 for a position out of range.
  int32_t positionOf(const Variant& indexOrKey) const;
  void insert(Variant item, std::optional<std::string> key, const Variant& before, const Variant& after);

 private:
  struct Entry {
    Variant item;
    std::optional<std::string> key;
  };
  std::vector<Entry> items_;
};

}  // namespace zadeve::automation
