#pragma once
// The object a bar's keyed lookup returns for one button: Index, Caption, Progress,
// Visible and, for a combo, PlaceholderFor (its list control). It keeps the bar alive and
// names its item by id, so it never dangles; once the item is gone its members raise 5.

#include "automation/member_table.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

class ReVivezavButton : public automation::Dispatchable<ReVivezavButton> {
 public:
  static const automation::MemberTable<ReVivezavButton>& memberTable();

  ReVivezavButton(automation::Ref<ReVivezav> bar, uint32_t itemId);

  automation::Variant invoke(std::string_view name, automation::InvokeKind kind,
                             std::span<automation::Arg> args) override;

  ReVivezav& bar() const { return *bar_; }
  // The item's position now; raises 5 when it has left the bar.
  int32_t position() const;

 private:
  automation::Ref<ReVivezav> bar_;
  uint32_t itemId_;
};

}  // namespace zadeve::vizevore
