#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/headless_windowing.h"
#include "platform/system_windowing.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>

namespace zadeve::platform {
namespace {

constexpr const char* kDefaultCaption = "ZADEVE";

double screenTwipsPerPixel(int axis) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen ? GetDeviceCaps(screen, axis) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return pixelsPerInch > 0 ? 1440.0 / pixelsPerInch : 15.0;
}

bool unattended() {
  const char* value = std::getenv("ZADEVE_UNATTENDED");
  return value != nullptr && std::string_view(value) != "" && std::string_view(value) != "0";
}

MessageBoxResult firstButton(MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

class DesktopWindowing final : public HeadlessWindowing {
 public:
  DesktopWindowing()
      : HeadlessWindowing(screenTwipsPerPixel(LOGPIXELSX)),
        twipsX_(screenTwipsPerPixel(LOGPIXELSX)),
        twipsY_(screenTwipsPerPixel(LOGPIXELSY)) {}

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                              const std::string& title) override {
    const char* caption = title.empty() ? kDefaultCaption : title.c_str();
    if (unattended()) {
      std::fprintf(stderr, "%s: %s\n", caption, text.c_str());
      std::fflush(stderr);
      return firstButton(buttons);
    }
    const UINT style = buttons == MessageBoxButtons::YesNo      ? MB_YESNO
                       : buttons == MessageBoxButtons::OkCancel ? MB_OKCANCEL
                                                                : MB_OK;
    switch (MessageBoxA(GetActiveWindow(), text.c_str(), caption, style | MB_TASKMODAL)) {
      case IDCANCEL: return MessageBoxResult::Cancel;
      case IDYES: return MessageBoxResult::Yes;
      case IDNO: return MessageBoxResult::No;
      case IDOK: return MessageBoxResult::Ok;
      default: return firstButton(buttons);  // no box could be shown
    }
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

std::shared_ptr<Windowing> systemWindowing() { return std::make_shared<DesktopWindowing>(); }

}  // namespace zadeve::platform
