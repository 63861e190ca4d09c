#pragma once
// The controls the reference host stands behind: "vizevore.ReVivezav" is our own toolbar
// control, placed on the form that asks for it with the screen's twips per pixel; on a form
// that is a real window, in a child window of its own (toolbar_window.h).

namespace zadeve::host {

// Registers them for the process; calling it again changes nothing.
void registerReferenceControls();

}  // namespace zadeve::host
