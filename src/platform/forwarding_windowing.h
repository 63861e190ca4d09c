#pragma once
// A windowing service that hands every call to another one: the base of services that
// change one thing about the desktop they stand on (a host that shows the library's
// message boxes its own way keeps the desktop's windows, menus and metrics).

#include <memory>

#include "platform/windowing.h"

namespace zadeve::platform {

class ForwardingWindowing : public Windowing {
 public:
  explicit ForwardingWindowing(std::shared_ptr<Windowing> inner) : inner_(std::move(inner)) {}

  Windowing& inner() const { return *inner_; }

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons, const std::string& title) override {
    return inner_->messageBox(text, buttons, title);
  }
  void beep() override { inner_->beep(); }
  double twipsPerPixelX() const override { return inner_->twipsPerPixelX(); }
  double twipsPerPixelY() const override { return inner_->twipsPerPixelY(); }
  WindowHandle createWindow(WindowClient& client, const PixelRect& outer) override {
    return inner_->createWindow(client, outer);
  }
  WindowHandle createFormWindow(WindowClient& client, int32_t clientWidth, int32_t clientHeight) override {
    return inner_->createFormWindow(client, clientWidth, clientHeight);
  }
  void setClientSize(WindowHandle window, int32_t clientWidth, int32_t clientHeight) override {
    inner_->setClientSize(window, clientWidth, clientHeight);
  }
  void invalidate(WindowHandle window) override { inner_->invalidate(window); }
  void watchWindow(WindowHandle window, WindowClient* client) override { inner_->watchWindow(window, client); }
  void destroyWindow(WindowHandle window) noexcept override { inner_->destroyWindow(window); }
  bool isWindow(WindowHandle window) const override { return inner_->isWindow(window); }
  PixelRect windowRect(WindowHandle window) const override { return inner_->windowRect(window); }
  PixelRect clientRect(WindowHandle window) const override { return inner_->clientRect(window); }
  void moveWindow(WindowHandle window, const PixelRect& outer) override { inner_->moveWindow(window, outer); }
  void setCaption(WindowHandle window, const std::string& caption) override { inner_->setCaption(window, caption); }
  std::string caption(WindowHandle window) const override { return inner_->caption(window); }
  void showWindow(WindowHandle window) override { inner_->showWindow(window); }
  bool isVisible(WindowHandle window) const override { return inner_->isVisible(window); }
  int32_t getWindowLong(WindowHandle window, int32_t index) const override {
    return inner_->getWindowLong(window, index);
  }
  int32_t setWindowLong(WindowHandle window, int32_t index, int32_t value) override {
    return inner_->setWindowLong(window, index, value);
  }
  void setMessageListener(WindowHandle window, MessageListener* listener) override {
    inner_->setMessageListener(window, listener);
  }
  int32_t popupMenu(WindowHandle owner, const std::vector<std::string>& items) override {
    return inner_->popupMenu(owner, items);
  }
  bool systemParametersInfo(uint32_t action, uint32_t param, void* pvParam, uint32_t winIni) override {
    return inner_->systemParametersInfo(action, param, pvParam, winIni);
  }

 private:
  std::shared_ptr<Windowing> inner_;
};

}  // namespace zadeve::platform
