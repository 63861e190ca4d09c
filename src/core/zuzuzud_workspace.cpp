#include "core/zuzuzud_workspace.h"

namespace zadeve::core {

using automation::CallArgs;
using automation::InvokeKind;
using automation::VarType;
using automation::byRef;

const automation::MemberTable<ZuzuzudWorkspace>& ZuzuzudWorkspace::memberTable() {
  using W = ZuzuzudWorkspace;
  static const automation::MemberTable<W> table("ZuzuzudWorkspace", [] {
    std::vector<automation::Member<W>> rows{
      {{"aBarIndex", 1, InvokeKind::PropertyGet, {}, VarType::Integer},
       [](W& w, CallArgs&) { return Variant(w.aBarIndex); }},
      {{"aBarIndex", 1, InvokeKind::PropertyLet, {byRef("value", VarType::Integer)}},
       [](W& w, CallArgs& a) { return w.aBarIndex = a.integer(0), Variant(); }},
      {{"aBar", 2, InvokeKind::PropertyGet, {}, VarType::Object},
       [](W& w, CallArgs&) { return Variant(w.aBar); }},
      {{"aBar", 2, InvokeKind::PropertySet, {byRef("value", VarType::Object)}},
       [](W& w, CallArgs& a) { return w.aBar = a.object(0), Variant(); }},
      {{"aSpinUp", 3, InvokeKind::PropertyGet, {}, VarType::Single},
       [](W& w, CallArgs&) { return Variant(w.aSpinUp); }},
      {{"aSpinUp", 3, InvokeKind::PropertyLet, {byRef("value", VarType::Single)}},
       [](W& w, CallArgs& a) { return w.aSpinUp = a.single(0), Variant(); }},
      {{"aSpinDown", 4, InvokeKind::PropertyGet, {}, VarType::Single},
       [](W& w, CallArgs&) { return Variant(w.aSpinDown); }},
      {{"aSpinDown", 4, InvokeKind::PropertyLet, {byRef("value", VarType::Single)}},
       [](W& w, CallArgs& a) { return w.aSpinDown = a.single(0), Variant(); }},
      // A 16-bit boolean on the interface; the field keeps the runtime's -1 / 0.
      {{"IsFloating", 5, InvokeKind::PropertyGet, {}, VarType::Boolean},
       [](W& w, CallArgs&) { return Variant(w.IsFloating != 0); }},
      {{"IsFloating", 5, InvokeKind::PropertyLet, {byRef("value", VarType::Boolean)}},
       [](W& w, CallArgs& a) { return w.IsFloating = automation::toVbBool(a.boolean(0)), Variant(); }},
    };
    for (auto& row : workspaceProxyRows()) rows.push_back(std::move(row));
    return rows;
  }());
  return table;
}

}  // namespace zadeve::core
