#include "platform/headless_windowing.h"
#include "platform/system_windowing.h"
#include "platform/win32_windowing.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>

namespace zadeve::platform {
namespace {

// A desktop with no display (Wine without X): windows are headless as on other systems,
// message boxes, the beep and twips per pixel are still the desktop's.
class HeadlessDesktop final : public HeadlessWindowing {
 public:
  HeadlessDesktop()
      : HeadlessWindowing(desktopTwipsPerPixel(false)),
        twipsX_(desktopTwipsPerPixel(false)),
        twipsY_(desktopTwipsPerPixel(true)) {}

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                              const std::string& title) override {
    return desktopMessageBox(text, buttons, title);
  }

  void beep() override { MessageBeep(MB_OK); }

  // The host's forms are real windows (or, for script hosts, handle 0): their window longs
  // are the system's, which answers 0 for a handle that is no window, as the API does.
  int32_t getWindowLong(WindowHandle window, int32_t index) const override {
    if (isWindow(window)) return HeadlessWindowing::getWindowLong(window, index);
    return static_cast<int32_t>(GetWindowLongPtrA(systemHandle(window), index));
  }
  int32_t setWindowLong(WindowHandle window, int32_t index, int32_t value) override {
    if (isWindow(window)) return HeadlessWindowing::setWindowLong(window, index, value);
    return static_cast<int32_t>(SetWindowLongPtrA(systemHandle(window), index, value));
  }
  double twipsPerPixelX() const override { return twipsX_; }
  double twipsPerPixelY() const override { return twipsY_; }

 protected:
  bool isForeignWindow(WindowHandle window) const override { return IsWindow(systemHandle(window)) != FALSE; }

 private:
  static HWND systemHandle(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(window)); }

  double twipsX_;
  double twipsY_;
};

}  // namespace

std::shared_ptr<Windowing> systemWindowing() {
  if (auto desktop = makeWin32Windowing()) return desktop;
  return std::make_shared<HeadlessDesktop>();
}

}  // namespace zadeve::platform
