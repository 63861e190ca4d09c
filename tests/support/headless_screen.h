#pragma once
// Installs a fresh headless windowing service for one test and restores the previous.

#include <memory>

#include "platform/headless_windowing.h"

namespace zadeve::support {

class HeadlessScreen {
 public:
  explicit HeadlessScreen(double twipsPerPixel = 15)
      : screen_(std::make_shared<platform::HeadlessWindowing>(twipsPerPixel)),
        previous_(platform::installWindowing(screen_)) {}
  ~HeadlessScreen() { platform::installWindowing(previous_); }
  platform::HeadlessWindowing& operator*() const { return *screen_; }
  platform::HeadlessWindowing* operator->() const { return screen_.get(); }

 private:
  std::shared_ptr<platform::HeadlessWindowing> screen_;
  std::shared_ptr<platform::Windowing> previous_;
};

}  // namespace zadeve::support
