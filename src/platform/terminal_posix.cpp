#include "platform/terminal.h"

#include <unistd.h>

namespace zadeve::platform {

bool errorIsLiveTerminal() { return ::isatty(STDERR_FILENO) != 0; }

}  // namespace zadeve::platform
