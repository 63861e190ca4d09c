#pragma once
// Whether standard error is a terminal on which a progress line can be rewritten in place
// (a carriage return, then ESC [ K to clear the rest of the line). A Windows console is
// asked to take such sequences first; a pipe, a file or the null device never is one.

namespace zadeve::platform {

bool errorIsLiveTerminal();

}  // namespace zadeve::platform
