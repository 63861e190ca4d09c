#pragma once
// The controls the reference host stands behind: "vizevore.ReVivezav" is our own toolbar
// control, placed on the form that asks for it with the screen's twips per pixel.

namespace zadeve::host {

// Registers them for the process; calling it again changes nothing.
void registerReferenceControls();

}  // namespace zadeve::host
