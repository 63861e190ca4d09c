#pragma once
// The headless screen as a person would see it: every visible window at its place, bottom
// to top, with its frame, caption and close box; inside, a host form as renderForm draws it
// and a palette with its toolbar.

#include <vector>

#include "host/headless_form.h"
#include "platform/headless_windowing.h"
#include "vizevore/canvas.h"

namespace zadeve::host {

// The picture covers every visible window (and the screen's corner), with a margin.
vizevore::Canvas renderDesktop(const platform::HeadlessWindowing& screen, const std::vector<const HeadlessForm*>& forms);

}  // namespace zadeve::host
