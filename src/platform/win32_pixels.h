#pragma once
// A client's picture (WindowPixels) copied to a window's device context, for the windows
// that show a picture the headless code drew: host forms and our toolbar's child windows.
// It brings windows.h: include it after our other headers.

#include "platform/windowing.h"

#include <windows.h>

namespace zadeve::platform {

// Draws `picture` with its top-left corner at the client area's; false, drawing nothing,
// when it is empty or its pixels do not fill it.
bool drawPixels(HDC dc, const WindowPixels& picture);

}  // namespace zadeve::platform
