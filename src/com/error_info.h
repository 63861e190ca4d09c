#pragma once
// Our AutomationError as COM reports it, and a failed call on a client's object as our
// AutomationError.

#include <windows.h>
#include <oaidl.h>

#include "automation/error.h"

namespace zadeve::com {

// 0x800A0000 | number, the convention under which script callers see Err.Number =
// number; a number that already is a failing HRESULT (negative) stays as it is.
HRESULT hresultOf(const automation::AutomationError& error);

// For Invoke's caller: scode, source and description of `error`.
void fillExcepInfo(const automation::AutomationError& error, EXCEPINFO* info);

// The number a script would see for a failed call: the low word of 0x800A.... results,
// the runtime's numbers for the standard dispatch failures, the HRESULT itself otherwise.
int32_t errorNumberOf(HRESULT hr);

// Raises the failure of a call on a client's object; `info` is the EXCEPINFO the call
// filled when it returned DISP_E_EXCEPTION (its strings are freed here).
[[noreturn]] void raiseFromHResult(HRESULT hr, EXCEPINFO* info);

}  // namespace zadeve::com
