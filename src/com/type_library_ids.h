#pragma once
// The identities of the type library, defined by the IDL compiler's output from the IDL
// that tools/zadeve_idl writes.

#include <windows.h>

extern "C" {
extern const IID LIBID_ZADEVE;
extern const CLSID CLSID_ZuzuzudLibrary;
extern const CLSID CLSID_ZuzuzudWorkspace;
extern const CLSID CLSID_WorkspaceCreation;
extern const IID IID__ZuzuzudLibrary;
extern const IID IID__ZuzuzudWorkspace;
extern const IID IID__WorkspaceCreation;
}
