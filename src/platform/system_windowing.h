#pragma once
// The windowing service a process starts with. Windows are headless everywhere for now;
// on Windows the library's own message boxes, the beep and the screen's twips per pixel
// are the desktop's. ZADEVE_UNATTENDED=1 in the environment turns those message boxes into
// "caption: text" lines on standard error, answered with the first button, so tests and
// unattended hosts never wait for a user.

#include <memory>

#include "platform/windowing.h"

namespace zadeve::platform {

std::shared_ptr<Windowing> systemWindowing();

}  // namespace zadeve::platform
