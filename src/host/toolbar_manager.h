#pragma once
// The host's toolbar manager (TBM): a 1-based list of every bar the library made, so a
// host can walk all bars of all forms. It holds its bars until they are removed.

#include <vector>

#include "automation/member_table.h"

namespace zadeve::host {

class ToolbarManager : public automation::Dispatchable<ToolbarManager> {
 public:
  static const automation::MemberTable<ToolbarManager>& memberTable();

  // Positions are 1-based; a position outside 1..count raises 9, a Nothing bar 91.
  void add(automation::ObjectRef bar);
  int16_t count() const { return static_cast<int16_t>(bars_.size()); }
  const automation::ObjectRef& item(int32_t position) const;
  void remove(int32_t position);
  const std::vector<automation::ObjectRef>& bars() const { return bars_; }

 private:
  size_t at(int32_t position) const;
  std::vector<automation::ObjectRef> bars_;
};

}  // namespace zadeve::host
