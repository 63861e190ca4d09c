// Rows of the library's automation face for the single host bar.

#include "core/library_rows.h"

namespace zadeve::core {

using namespace rows;

std::vector<LibraryRow> buildLibraryRows() {
  return {
      {{"KaTBuildBar",
        8,
        InvokeKind::Method,
        {byRef("tb", VarType::Object), byRef("barName", VarType::String),
         optionalParam(byRef("isPalette", VarType::Boolean), Variant(false))}},
       [](ZuzuzudLibrary& l, CallArgs& a) {
         l.KaTBuildBar(a.object(0), a.string(1), a.boolean(2));
         return Variant();
       }},
  };
}

}  // namespace zadeve::core
