// Rows of the library's automation face for the bar-set members.

#include "core/library_rows.h"

namespace zadeve::core {

using namespace rows;

std::vector<LibraryRow> barsLibraryRows() {
  return {
      {{"KaTBarName", 5, Method, {byRef("aBar", VarType::Object)}, VarType::String},
       [](L& l, CallArgs& a) { return Variant(l.KaTBarName(a.object(0))); }},
      {{"KaTGetProp", 13, Method,
        {byRef("tb", VarType::Object), byRef("Key", VarType::String), byRef("dv", VarType::Variant)},
        VarType::Variant},
       [](L& l, CallArgs& a) { return l.KaTGetProp(a.object(0), a.string(1), a[2]); }},
      {{"KaTSetProp", 17, Method,
        {byRef("tb", VarType::Object), byRef("Key", VarType::String), byRef("v", VarType::Variant)}},
       [](L& l, CallArgs& a) { return l.KaTSetProp(a.object(0), a.string(1), a[2]), none(); }},
      {{"KaTRebuildBar", 9, Method, {byRef("tb", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.KaTRebuildBar(a.object(0)), none(); }},
      {{"KaTCopyBarState", 10, Method, {byRef("fromBar", VarType::Object), byRef("toBar", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.KaTCopyBarState(a.object(0), a.object(1)), none(); }},
      {{"KaTLayout", 14, Method,
        {byRef("frm", VarType::Object), byRef("vl", VarType::Integer), byRef("vt", VarType::Integer),
         byRef("vr", VarType::Integer), byRef("VB", VarType::Integer)}},
       [](L& l, CallArgs& a) {
         int16_t edges[4] = {};  // their values on entry are ignored
         l.KaTLayout(a.object(0), edges[0], edges[1], edges[2], edges[3]);
         for (size_t i = 0; i < 4; ++i) a[i + 1] = Variant(edges[i]);
         return none();
       }},
      {{"KaTSetup", 18, Method,
        {byRef("frm", VarType::Object), byRef("barSet", VarType::String),
         optionalParam(byRef("excludeBars", VarType::String), Variant(""))}},
       [](L& l, CallArgs& a) { return l.KaTSetup(a.object(0), a.string(1), a.string(2)), none(); }},
      {{"KaTSetVisible", 19, Method,
        {byRef("f", VarType::Object), byRef("tb", VarType::Object), byVal("v", VarType::Integer)}},
       [](L& l, CallArgs& a) { return l.KaTSetVisible(a.object(0), a.object(1), a.integer(2)), none(); }},
      {{"KaTIsVisible", 40, Method, {byRef("tb", VarType::Object)}, VarType::Integer},
       [](L& l, CallArgs& a) { return Variant(l.KaTIsVisible(a.object(0))); }},
      {{"KaTUnloadBars", 23, Method, {byRef("f", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.KaTUnloadBars(a.object(0)), none(); }},
      {{"KaTReleaseBars", 46, Method, {byRef("frm", VarType::Object)}},
       [](L& l, CallArgs& a) { return l.KaTReleaseBars(a.object(0)), none(); }},
  };
}

}  // namespace zadeve::core
