#pragma once
// The two directions of the COM binding: our automation objects as IDispatch for COM
// clients, and a client's IDispatch (forms, toolbars, TBM, its application object) as
// our automation Object, called late-bound by name.

#include <windows.h>
#include <oaidl.h>

#include "automation/error.h"
#include "automation/object.h"
#include "automation/variant.h"

namespace zadeve::com {

// A dual-dispatch COM object over `object` (returned with one reference). The three
// classes of the type library dispatch from their member tables (DISPID = the member's
// slot) and describe themselves with their interface's type information; any other
// object of ours dispatches by name.
IDispatch* toDispatch(const automation::ObjectRef& object);

// The client's object as ours; our own objects coming back unwrap to themselves.
automation::ObjectRef fromDispatch(IDispatch* dispatch);

// VARIANT <-> Variant. `fromVARIANT` follows VT_BYREF (the value, not the reference).
automation::Variant fromVARIANT(const VARIANT& value);
void toVARIANT(const automation::Variant& value, VARIANT* out);  // `out` uninitialised

// Sets the thread's IErrorInfo from `error` and returns 0x800A0000 | number, so script
// callers see Err.Number = number with our description.
HRESULT reportError(const automation::AutomationError& error);

}  // namespace zadeve::com
