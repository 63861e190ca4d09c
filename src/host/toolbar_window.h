#pragma once
// Our toolbar control on a form that is a real window of the system: a child window that
// shows the bar's own painting and turns the mouse into the bar's user actions, so clicks
// raise the same events as the headless bar's actions do. Where the system has no windows
// (and on forms without one: headless forms, a script host's objects) the bar stays as it
// is, without a window.

#include <cstdint>
#include <functional>

#include "automation/object.h"
#include "vizevore/revivezav.h"

namespace zadeve::host {

// Gives the bar a child window in the window the form's "hWnd" names. Returns what takes
// the window away again (before the bar leaves the form), or an empty function when the
// form names no window of the system's.
std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>& bar, automation::Object& form);
// The same in the window `formWindow` (a form's hWnd).
std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>& bar, int32_t formWindow);

}  // namespace zadeve::host
