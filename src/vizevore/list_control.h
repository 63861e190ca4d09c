#pragma once
// A combo's list, as the combo's PlaceholderFor returns it: the members of a list box
// (AddItem, RemoveItem, Clear, List, ItemData, ListCount, ListIndex, NewIndex, Text).
// AddItem appends unsorted, or inserts at a given position. Writing ListIndex raises no
// event: only a person picking an entry does.

#include "automation/member_table.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

class ReVivezavList : public automation::Dispatchable<ReVivezavList> {
 public:
  static const automation::MemberTable<ReVivezavList>& memberTable();

  ReVivezavList(automation::Ref<ReVivezav> bar, uint32_t comboId);

  automation::Variant invoke(std::string_view name, automation::InvokeKind kind,
                             std::span<automation::Arg> args) override;

  ReVivezav& bar() const { return *bar_; }
  // The combo's position now; raises 5 when it has left the bar.
  int32_t position() const;
  const ComboData& data() const;

 private:
  automation::Ref<ReVivezav> bar_;
  uint32_t comboId_;
};

}  // namespace zadeve::vizevore
