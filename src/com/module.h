#pragma once
// What the DLL's module keeps for the objects it serves: its handle, the count of live
// objects and locks (DllCanUnloadNow), and the type library loaded from its own resource.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <string_view>

namespace zadeve::com {

HMODULE moduleHandle();
// The DLL's own file, as registration writes it and the type library is loaded from.
std::wstring modulePath();
// The type library in the DLL's resource, loaded once; null when it cannot be loaded.
ITypeLib* typeLibrary();

// Every COM object the DLL hands out counts itself in while it lives.
void objectCreated();
void objectDestroyed();
// No object alive and no lock held: what DllCanUnloadNow answers.
bool canUnload();

// The dual interface's type information of a class of the type library ("ZuzuzudLibrary"
// gives _ZuzuzudLibrary), and the coclass's (for IProvideClassInfo); null for a name the
// library does not hold. Not AddRef'd: the module keeps them until it unloads.
ITypeInfo* interfaceInfoOf(std::string_view className);
ITypeInfo* classInfoOf(std::string_view className);

}  // namespace zadeve::com
