#pragma once
// The windowing service a process starts with: headless on other systems; on Windows the
// desktop's real windows (win32_windowing.h), or, where the desktop has no display to put
// windows on (Wine without X), headless windows with the desktop's message boxes, beep
// and twips per pixel. ZADEVE_UNATTENDED=1 in the environment turns the library's own
// message boxes into "caption: text" lines on standard error, answered with the first
// button, so tests and unattended hosts never wait for a user.

#include <memory>

#include "platform/windowing.h"

namespace zadeve::platform {

std::shared_ptr<Windowing> systemWindowing();

}  // namespace zadeve::platform
