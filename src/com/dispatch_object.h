#pragma once
// The COM object that carries one of our automation objects to COM clients.

#include <windows.h>
#include <oaidl.h>

#include "automation/object.h"

namespace zadeve::com {

// The object of ours behind `dispatch` when it is one of our COM objects, else empty.
automation::ObjectRef ownObjectOf(IDispatch* dispatch);

// Our COM object for `object` (one reference for the caller): the same one for as long
// as it lives, so an object handed out twice keeps one COM identity.
IDispatch* dispatchFor(const automation::ObjectRef& object);

}  // namespace zadeve::com
