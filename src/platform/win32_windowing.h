#pragma once
// The desktop's own windowing service, for Windows builds: palettes are real top-level tool
// windows (class "ZadeveToolPalette"), host forms application windows (class "ZadeveForm")
// whose client area their form paints, a message hook is a subclass procedure, pop-up
// menus are the system's. A host's own window that a form wraps is watched through a
// subclass of its own (watchWindow): WM_SIZE before the host's handling, WM_NCDESTROY.
//
// A watched window's messages, in order:
//   hookProcedure (installed by setMessageListener, the window's previous procedure kept)
//     the listener sees the message first; WM_SIZING's RECT is lent under a 32-bit
//     address (LentRect) for exactly the listener's call, then copied back for the system
//   windowProcedure (the class's)
//     WM_CLOSE            -> client.windowCloseRequested(); the client destroys the window
//     WM_SIZE             -> client.windowResized() when the outer size changed
//     WM_GETMINMAXINFO    -> no smaller than the frame, as the headless screen keeps it
//     WM_PAINT (forms)    -> client.paintWindow(pixels), copied to the screen as they are
//
// Handles cross the seam as 32-bit values: the system's window handles carry 32
// significant bits (sign-extended), so they survive the trip both ways.

#include <memory>
#include <string>

#include "platform/windowing.h"

namespace zadeve::platform {

// Nullptr where the desktop can make no window (Wine without a display).
std::shared_ptr<Windowing> makeWin32Windowing();

// Shared with the headless fallback of a desktop that has no display.
MessageBoxResult desktopMessageBox(const std::string& text, MessageBoxButtons buttons, const std::string& title);
double desktopTwipsPerPixel(bool vertical);

// An error raised by a handler the user's action ran (close box, sizing step, a click on a
// bar) has no caller to go to: called from the catch block, it is shown in a message box of
// the current service, as the runtime shows an untrapped error. Never throws.
void reportUncaughtError() noexcept;

}  // namespace zadeve::platform
