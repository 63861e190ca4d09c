#pragma once
// `zadeve show` on the desktop: the form in a window of its own until the user closes it.
// Only the Windows build has a desktop to show it on (show_window_win32.cpp); elsewhere
// the command says so (show_window_posix.cpp).

#include "cli/cli.h"
#include "cli/show_session.h"

namespace zadeve::cli {

// The exit status: 0 once the user closed the window, 1 where no window can be opened.
int showOnDesktop(const ShowOptions& options, Console& console);

}  // namespace zadeve::cli
