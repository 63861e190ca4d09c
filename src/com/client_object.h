#pragma once
// A client's IDispatch (a form, a toolbar, TBM, the application object) as one of our
// automation objects, called late-bound by name.

#include <windows.h>
#include <oaidl.h>

#include "automation/object.h"

namespace zadeve::com {

// Our object over `dispatch`: the same one for as long as it lives, so the library's
// identity tests (`Is`) hold for objects that come back to it by another way.
automation::ObjectRef clientObjectFor(IDispatch* dispatch);

// The client's own IDispatch when `object` is one of these (one reference for the
// caller), else null.
IDispatch* clientDispatchOf(const automation::Object& object);

}  // namespace zadeve::com
