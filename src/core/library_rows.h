#pragma once
// The library's member table is assembled from the rows each subsystem defines in its
// own folder; the table orders them by slot.

#include <vector>

#include "automation/member_table.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

using LibraryRow = automation::Member<ZuzuzudLibrary>;

std::vector<LibraryRow> coreLibraryRows();   // core/: configuration, initialisation, hand-over
std::vector<LibraryRow> buildLibraryRows();  // build/: single host bar
std::vector<LibraryRow> barsLibraryRows();   // bars/: bar sets, layout, properties, unload, rebuild

}  // namespace zadeve::core
