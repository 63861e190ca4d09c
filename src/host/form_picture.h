#pragma once
// The client area of a headless form as the user would see it: the window face, the
// document area in the free rectangle that the last layout left, and every visible bar
// painted where the layout put it.

#include <cstdint>
#include <string>
#include <vector>

#include "host/headless_form.h"
#include "vizevore/canvas.h"

namespace zadeve::host {

// The free rectangle in pixels of the form's client area (right and bottom exclusive).
vizevore::Box freeBox(const HeadlessForm& form, const FreeRectangle& free);

// Raises 5 when the client area is empty or larger than a canvas may be.
vizevore::Canvas renderForm(const HeadlessForm& form);

// A picture as a window shows it: rows top first, each pixel 0x00RRGGBB.
std::vector<uint32_t> windowPixels(const vizevore::Canvas& canvas);

}  // namespace zadeve::host
