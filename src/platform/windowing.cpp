#include "platform/windowing.h"

#include "platform/headless_windowing.h"

namespace zadeve::platform {
namespace {

std::shared_ptr<Windowing>& current() {
  static std::shared_ptr<Windowing> service = std::make_shared<HeadlessWindowing>();
  return service;
}

}  // namespace

Windowing& windowing() { return *current(); }

std::shared_ptr<Windowing> installWindowing(std::shared_ptr<Windowing> service) {
  auto previous = current();
  current() = service ? std::move(service) : std::make_shared<HeadlessWindowing>();
  return previous;
}

}  // namespace zadeve::platform
