#include "platform/windowing.h"

namespace zadeve::platform {
namespace {

std::shared_ptr<Windowing>& current() {
  static std::shared_ptr<Windowing> service = std::make_shared<HeadlessWindowing>();
  return service;
}

}  // namespace

MessageBoxResult HeadlessWindowing::messageBox(const std::string& text, MessageBoxButtons buttons,
                                               const std::string& title) {
  messages_.push_back({text, buttons, title});
  return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

Windowing& windowing() { return *current(); }

std::shared_ptr<Windowing> installWindowing(std::shared_ptr<Windowing> service) {
  auto previous = current();
  current() = service ? std::move(service) : std::make_shared<HeadlessWindowing>();
  return previous;
}

}  // namespace zadeve::platform
