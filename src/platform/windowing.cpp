#include "platform/windowing.h"

#include "platform/system_windowing.h"

namespace zadeve::platform {
namespace {

std::shared_ptr<Windowing>& current() {
  static std::shared_ptr<Windowing> service = systemWindowing();
  return service;
}

}  // namespace

Windowing& windowing() { return *current(); }

std::shared_ptr<Windowing> installWindowing(std::shared_ptr<Windowing> service) {
  auto previous = current();
  current() = service ? std::move(service) : systemWindowing();
  return previous;
}

}  // namespace zadeve::platform
