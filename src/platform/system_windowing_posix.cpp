#include "platform/headless_windowing.h"
#include "platform/system_windowing.h"

namespace zadeve::platform {

std::shared_ptr<Windowing> systemWindowing() { return std::make_shared<HeadlessWindowing>(); }

}  // namespace zadeve::platform
