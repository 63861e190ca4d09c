#include "host/toolbar_manager.h"

#include <string>

namespace zadeve::host {

using namespace automation;

namespace {
// Sixteen-bit positions: more bars could never be reached.
constexpr size_t MaxBars = INT16_MAX;
}  // namespace

void ToolbarManager::add(ObjectRef bar) {
  if (!bar) raise(err::ObjectNotSet, "TBM.Add needs a bar, not Nothing");
  if (bars_.size() >= MaxBars) raise(err::Overflow, "TBM holds " + std::to_string(MaxBars) + " bars already");
  bars_.push_back(std::move(bar));
}

size_t ToolbarManager::at(int32_t position) const {
  if (position < 1 || position > count())
    raise(err::Subscript, "TBM has no bar at position " + std::to_string(position) + " (it holds " +
                              std::to_string(bars_.size()) + ")");
  return static_cast<size_t>(position - 1);
}

const ObjectRef& ToolbarManager::item(int32_t position) const { return bars_[at(position)]; }

void ToolbarManager::remove(int32_t position) {
  bars_.erase(bars_.begin() + static_cast<std::ptrdiff_t>(at(position)));
}

const MemberTable<ToolbarManager>& ToolbarManager::memberTable() {
  using V = VarType;
  using T = ToolbarManager;
  static const MemberTable<T> table(
      "ToolbarManager",
      {
          {{"Add", 1, InvokeKind::Method, {byRef("bar", V::Object)}},
           [](T& t, CallArgs& a) {
             t.add(a.object(0));
             return Variant();
           }},
          {{"Count", 2, InvokeKind::PropertyGet, {}, V::Integer},
           [](T& t, CallArgs&) { return Variant(t.count()); }},
          // Scans pass the position by value, unloading by reference; both bind here.
          {{"ItemAsObject", 3, InvokeKind::Method, {byRef("position", V::Integer)}, V::Object},
           [](T& t, CallArgs& a) { return Variant(t.item(a.integer(0))); }},
          {{"Remove", 4, InvokeKind::Method, {byRef("position", V::Integer)}},
           [](T& t, CallArgs& a) {
             t.remove(a.integer(0));
             return Variant();
           }},
      });
  return table;
}

}  // namespace zadeve::host
