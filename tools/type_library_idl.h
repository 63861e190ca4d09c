#pragma once
// The IDL of the ZADEVE type library, written from the member tables of its three classes
// and the enumeration tables, so the COM server's interfaces cannot drift from the
// classes behind them. Dispatch identifiers are the members' slots.

#include <string>

namespace zadeve::tools {

std::string typeLibraryIdl();

}  // namespace zadeve::tools
