#pragma once
// The client area of a headless form as the user would see it: the window face, the
// document area in the free rectangle that the last layout left, and every visible bar
// painted where the layout put it.

#include <string>

#include "host/headless_form.h"
#include "vizevore/canvas.h"

namespace zadeve::host {

// The free rectangle in pixels of the form's client area (right and bottom exclusive).
vizevore::Box freeBox(const HeadlessForm& form, const FreeRectangle& free);

// Raises 5 when the client area is empty or larger than a canvas may be.
vizevore::Canvas renderForm(const HeadlessForm& form);

}  // namespace zadeve::host
