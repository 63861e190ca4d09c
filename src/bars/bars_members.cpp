// Rows of the library's automation face for the bar-set members.

#include "core/library_rows.h"

namespace zadeve::core {

using automation::byRef;
using automation::CallArgs;
using automation::InvokeKind;
using automation::VarType;

namespace {
using L = ZuzuzudLibrary;
constexpr auto Method = InvokeKind::Method;
Variant none() { return Variant(); }
}  // namespace

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
  };
}

}  // namespace zadeve::core
