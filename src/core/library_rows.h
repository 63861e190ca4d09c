#pragma once
// The library's member table is assembled from the rows each subsystem defines in its
// own folder; the table orders them by slot.

#include <vector>

#include "automation/member_table.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

using LibraryRow = automation::Member<ZuzuzudLibrary>;

// The vocabulary of the row files: `using namespace rows;` inside zadeve::core.
namespace rows {
using automation::byRef;
using automation::byVal;
using automation::CallArgs;
using automation::InvokeKind;
using automation::optionalParam;
using automation::Param;
using automation::VarType;
using L = ZuzuzudLibrary;
inline constexpr auto Get = InvokeKind::PropertyGet;
inline constexpr auto Let = InvokeKind::PropertyLet;
inline constexpr auto Set = InvokeKind::PropertySet;
inline constexpr auto Method = InvokeKind::Method;
// The result of a member that returns nothing.
inline Variant none() { return Variant(); }
}  // namespace rows

std::vector<LibraryRow> coreLibraryRows();   // core/: configuration, initialisation, hand-over
std::vector<LibraryRow> buildLibraryRows();  // build/: single host bar
std::vector<LibraryRow> barsLibraryRows();   // bars/: bar sets, layout, properties, unload, rebuild
std::vector<LibraryRow> paletteLibraryRows();  // palette/: floating
std::vector<LibraryRow> functionsLibraryRows();  // functions/: scans, function state, lists, status panels

}  // namespace zadeve::core
