// Rows of the library's automation face for the function-state members: scans, state,
// enablement, visibility, tips, list items and status panels.

#include "core/library_rows.h"

namespace zadeve::core {

using namespace rows;

namespace {
// The form and function every function operation starts with.
Param frm(std::string_view name = "frm") { return byRef(name, VarType::Object); }
Param fn(std::string_view name = "fn") { return byRef(name, VarType::String); }
Param integer(std::string_view name) { return byRef(name, VarType::Integer); }
Param long_(std::string_view name) { return byRef(name, VarType::Long); }
Param string(std::string_view name) { return byRef(name, VarType::String); }
}  // namespace

std::vector<LibraryRow> functionsLibraryRows() {
  return {
      {{"KaTBeginScan", 6, Method, {frm("f")}}, [](L& l, CallArgs& a) { return l.KaTBeginScan(a.object(0)), none(); }},
      {{"KaTBeginScanFunction", 7, Method, {frm("f"), fn()}},
       [](L& l, CallArgs& a) { return l.KaTBeginScanFunction(a.object(0), a.string(1)), none(); }},
      {{"KaTGetFunctionState", 12, Method, {frm(), fn(), integer("Value")}, VarType::Variant},
       [](L& l, CallArgs& a) {
         int16_t value = a.integer(2);
         Variant matched = l.KaTGetFunctionState(a.object(0), a.string(1), value);
         a[2] = Variant(value);
         return matched;
       }},
      {{"KATNextScan", 15, Method, {}, VarType::Variant}, [](L& l, CallArgs&) { return l.KATNextScan(); }},
      {{"KaTNextScanFunction", 16, Method, {}, VarType::Boolean},
       [](L& l, CallArgs&) { return Variant(l.KaTNextScanFunction()); }},
      {{"KaSetButtonEnable", 24, Method, {frm(), fn(), integer("Value")}},
       [](L& l, CallArgs& a) { return l.KaSetButtonEnable(a.object(0), a.string(1), a.integer(2)), none(); }},
      {{"StatusMsg", 25, Method,
        {frm("f"), string("pan"), string("msg"), optionalParam(byRef("UpdateNow", VarType::Boolean), Variant(false))}},
       [](L& l, CallArgs& a) { return l.StatusMsg(a.object(0), a.string(1), a.string(2), a.boolean(3)), none(); }},
      {{"StatusProg", 26, Method, {frm("f"), string("pan"), integer("Percent")}},
       [](L& l, CallArgs& a) { return l.StatusProg(a.object(0), a.string(1), a.integer(2)), none(); }},
      {{"KaGetFunctionState", 27, Method, {frm(), fn()}, VarType::Integer},
       [](L& l, CallArgs& a) { return Variant(l.KaGetFunctionState(a.object(0), a.string(1))); }},
      {{"KaGetFunctionEnabled", 28, Method, {frm(), fn(), integer("Value")}, VarType::Variant},
       [](L& l, CallArgs& a) {
         int16_t value = a.integer(2);
         Variant matched = l.KaGetFunctionEnabled(a.object(0), a.string(1), value);
         a[2] = Variant(value);
         return matched;
       }},
      {{"KaSetFunctionEnabled", 30, Method, {frm(), fn(), integer("Value")}},
       [](L& l, CallArgs& a) { return l.KaSetFunctionEnabled(a.object(0), a.string(1), a.integer(2)), none(); }},
      {{"KaSetFunctionState", 31, Method, {frm(), fn(), integer("Value")}},
       [](L& l, CallArgs& a) { return l.KaSetFunctionState(a.object(0), a.string(1), a.integer(2)), none(); }},
      {{"KaSetFunctionVisible", 32, Method, {frm(), fn(), integer("Value")}},
       [](L& l, CallArgs& a) { return l.KaSetFunctionVisible(a.object(0), a.string(1), a.integer(2)), none(); }},
      {{"KaAddFunctionListItem", 33, Method, {frm(), fn(), string("item"), long_("Data")}},
       [](L& l, CallArgs& a) {
         return l.KaAddFunctionListItem(a.object(0), a.string(1), a.string(2), a.long_(3)), none();
       }},
      {{"KaSetItemIndexByText", 34, Method, {frm(), fn(), string("item")}},
       [](L& l, CallArgs& a) { return l.KaSetItemIndexByText(a.object(0), a.string(1), a.string(2)), none(); }},
      {{"KaGetFunctionListItem", 35, Method, {frm(), fn(), string("item"), long_("Data")}},
       [](L& l, CallArgs& a) {
         std::string item = a.string(2);
         int32_t data = a.long_(3);
         l.KaGetFunctionListItem(a.object(0), a.string(1), item, data);
         a[2] = Variant(item);
         a[3] = Variant(data);
         return none();
       }},
      {{"KaSetButtonTip", 36, Method, {frm(), fn(), string("Tip")}},
       [](L& l, CallArgs& a) { return l.KaSetButtonTip(a.object(0), a.string(1), a.string(2)), none(); }},
      {{"KaSetItemIndexByData", 37, Method, {frm(), fn(), long_("Data")}},
       [](L& l, CallArgs& a) { return l.KaSetItemIndexByData(a.object(0), a.string(1), a.long_(2)), none(); }},
      {{"KaSetItemIndex", 38, Method, {frm(), fn(), long_("Index")}},
       [](L& l, CallArgs& a) { return l.KaSetItemIndex(a.object(0), a.string(1), a.long_(2)), none(); }},
      {{"GetStatusMsg", 39, Method, {frm("f"), string("pan")}, VarType::String},
       [](L& l, CallArgs& a) { return Variant(l.GetStatusMsg(a.object(0), a.string(1))); }},
  };
}

}  // namespace zadeve::core
