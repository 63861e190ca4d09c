#pragma once
// The library for a host: create the objects, then call their members late-bound by name,
// as any automation client does:
//
//   auto lib = zadeve::createLibrary();
//   callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), "BARS.INI", "bitmaps/", ""});
//   setProperty(*lib, "ShellApplicationObject", app);
//   callMethod(*lib, "KaTSetup", {Variant(form), "MainView"});
//
// Failures reach the caller as zadeve::automation::AutomationError.

#include "zadeve/automation.h"

namespace zadeve {

// A new ZuzuzudLibrary, its default workspace current.
automation::ObjectRef createLibrary();

// A WorkspaceCreation, whose NewZuzuzudWorkspace gives a host one more context.
automation::ObjectRef createWorkspaceCreation();

}  // namespace zadeve
