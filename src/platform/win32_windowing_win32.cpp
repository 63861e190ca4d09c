#include "platform/win32_windowing.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>
#include <utility>

#include "automation/error.h"
#include "platform/zeduvu.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>
#include "platform/win32_pixels.h"
#include <commctrl.h>

namespace zadeve::platform {
namespace {

constexpr const char* kDefaultCaption = "ZADEVE";
// The two kinds of window the service makes: a palette's tool window, and a host form's
// application window, whose client paints it.
struct WindowKind {
  const char* className;
  DWORD style;
  DWORD exStyle;
  bool form;
};
constexpr WindowKind kPalette{"ZadeveToolPalette",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                              WS_EX_TOOLWINDOW, false};
constexpr WindowKind kForm{"ZadeveForm", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, true};
constexpr UINT_PTR kWatchId = 0x5A44;
// What the runtime reports for a form whose window cannot be made.
constexpr int32_t kOutOfMemory = 7;

bool unattended() {
  const char* value = std::getenv("ZADEVE_UNATTENDED");
  return value != nullptr && std::string_view(value) != "" && std::string_view(value) != "0";
}

MessageBoxResult firstButton(MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

HWND systemHandle(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(window)); }
WindowHandle ourHandle(HWND window) { return static_cast<WindowHandle>(reinterpret_cast<intptr_t>(window)); }

PixelRect fromRECT(const RECT& r) {
  return {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
          static_cast<int32_t>(r.bottom)};
}

HINSTANCE thisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&thisModule), &module);
  return module;
}

// A window procedure must not let an exception reach the system's frames; an error of a
// handler the user's action ran has no caller to go to.
template <typename F>
void guarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}

class Win32Windowing final : public Windowing {
 public:
  Win32Windowing() : twipsX_(desktopTwipsPerPixel(false)), twipsY_(desktopTwipsPerPixel(true)) {}
  ~Win32Windowing() override {
    // A window another thread made cannot be destroyed here; it is forgotten instead.
    while (!windows_.empty()) {
      HWND h = windows_.begin()->first;
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      DestroyWindow(h);
      windows_.erase(h);
    }
  }

  // Registers the class and makes (and drops) one hidden window: false when the desktop
  // has no display to put windows on.
  bool canMakeWindows() {
    if (!registerClasses()) return false;
    HWND probe = create(nullptr, {0, 0, 100, 100}, kPalette);
    if (!probe) return false;
    DestroyWindow(probe);
    return true;
  }

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                              const std::string& title) override {
    return desktopMessageBox(text, buttons, title);
  }
  void beep() override { MessageBeep(MB_OK); }
  double twipsPerPixelX() const override { return twipsX_; }
  double twipsPerPixelY() const override { return twipsY_; }

  WindowHandle createWindow(WindowClient& client, const PixelRect& outer) override {
    return made(create(&client, outer, kPalette));
  }

  WindowHandle createFormWindow(WindowClient& client, int32_t clientWidth, int32_t clientHeight) override {
    const RECT outer = outerAround(kForm.style, kForm.exStyle, clientWidth, clientHeight);
    return made(create(&client, {0, 0, outer.right - outer.left, outer.bottom - outer.top}, kForm));
  }

  void setClientSize(WindowHandle window, int32_t clientWidth, int32_t clientHeight) override {
    HWND h = ours(window);
    const RECT outer = outerAround(static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)),
                                   static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE)), clientWidth, clientHeight);
    RECT at{};
    GetWindowRect(h, &at);
    moveWindow(window, {at.left, at.top, at.left + (outer.right - outer.left), at.top + (outer.bottom - outer.top)});
  }

  void invalidate(WindowHandle window) override {
    if (isWindow(window)) InvalidateRect(systemHandle(window), nullptr, FALSE);
  }

  void watchWindow(WindowHandle window, WindowClient* client) override {
    HWND h = anyWindow(window);
    if (client) {
      if (!SetWindowSubclass(h, &watchProcedure, kWatchId, reinterpret_cast<DWORD_PTR>(client)))
        automation::raise(automation::err::InvalidCall, "The window " + std::to_string(window) + " cannot be watched");
    } else {
      RemoveWindowSubclass(h, &watchProcedure, kWatchId);
    }
  }

  void destroyWindow(WindowHandle window) noexcept override {
    if (isWindow(window)) DestroyWindow(systemHandle(window));
  }

  bool isWindow(WindowHandle window) const override {
    return window != 0 && windows_.count(systemHandle(window)) != 0;
  }

  PixelRect windowRect(WindowHandle window) const override {
    RECT r{};
    GetWindowRect(anyWindow(window), &r);
    return fromRECT(r);
  }

  PixelRect clientRect(WindowHandle window) const override {
    RECT r{};
    GetClientRect(anyWindow(window), &r);
    return fromRECT(r);
  }

  void moveWindow(WindowHandle window, const PixelRect& outer) override {
    HWND h = ours(window);
    Entry& e = windows_.at(h);
    const SIZE before = e.size;
    // The resize event runs here rather than in the window procedure, so an error of the
    // client's handler reaches whoever moved the window.
    e.moving = true;
    MoveWindow(h, outer.left, outer.top, outer.width(), outer.height(), TRUE);
    auto it = windows_.find(h);
    if (it == windows_.end()) return;
    it->second.moving = false;
    it->second.size = outerSize(h);
    if (it->second.size.cx != before.cx || it->second.size.cy != before.cy) it->second.client->windowResized();
  }

  void setCaption(WindowHandle window, const std::string& caption) override {
    SetWindowTextA(anyWindow(window), caption.c_str());
  }

  std::string caption(WindowHandle window) const override {
    HWND h = anyWindow(window);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(h, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  void showWindow(WindowHandle window) override {
    HWND h = ours(window);
    const bool first = !std::exchange(windows_.at(h).shownBefore, true);
    ShowWindow(h, SW_SHOW);
    UpdateWindow(h);
    if (first && isWindow(window)) windows_.at(h).client->windowResized();
  }

  bool isVisible(WindowHandle window) const override { return IsWindowVisible(anyWindow(window)) != FALSE; }

  // The host's windows are the system's: their window longs are read and written there,
  // and a handle that is no window answers 0, as the API does.
  int32_t getWindowLong(WindowHandle window, int32_t index) const override {
    requireOwnerIndex(index);
    return ourHandle(reinterpret_cast<HWND>(GetWindowLongPtrA(systemHandle(window), GWLP_HWNDPARENT)));
  }
  int32_t setWindowLong(WindowHandle window, int32_t index, int32_t value) override {
    requireOwnerIndex(index);
    const LONG_PTR owner = reinterpret_cast<LONG_PTR>(systemHandle(value));
    return ourHandle(reinterpret_cast<HWND>(SetWindowLongPtrA(systemHandle(window), GWLP_HWNDPARENT, owner)));
  }

  void setMessageListener(WindowHandle window, MessageListener* listener) override {
    HWND h = ours(window);
    Entry& e = windows_.at(h);
    e.listener = listener;
    if (listener && !e.subclassed) {
      e.subclassed = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&hookProcedure)));
    } else if (!listener && e.subclassed) {
      // Only our own subclass comes off; one installed over it keeps calling ours.
      if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == &hookProcedure) {
        SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(e.subclassed));
        e.subclassed = nullptr;
      }
    }
  }

  int32_t popupMenu(WindowHandle owner, const std::vector<std::string>& items) override {
    HWND h = IsWindow(systemHandle(owner)) ? systemHandle(owner) : nullptr;
    if (!h || items.empty()) return -1;
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (size_t i = 0; i < items.size(); ++i) AppendMenuA(menu, MF_STRING, i + 1, items[i].c_str());
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close on a click elsewhere.
    SetForegroundWindow(h);
    const int picked = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, h, nullptr);
    PostMessageA(h, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return picked > 0 ? picked - 1 : -1;
  }

  bool systemParametersInfo(uint32_t action, uint32_t param, void* pvParam, uint32_t winIni) override {
    if (action != SPI_GETDRAGFULLWINDOWS && action != SPI_SETDRAGFULLWINDOWS) return false;
    return SystemParametersInfoA(action, param, pvParam, winIni) != FALSE;
  }

 private:
  struct Entry {
    WindowClient* client = nullptr;
    MessageListener* listener = nullptr;
    WNDPROC subclassed = nullptr;  // the procedure under our hook
    SIZE size{};                   // the outer size the client last heard of
    bool shownBefore = false;
    bool moving = false;
    bool form = false;  // a host form's window, which its client paints
  };

  static bool registerClass(const char* name) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &windowProcedure;
    wc.hInstance = thisModule();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  static bool registerClasses() {
    static const bool registered = registerClass(kPalette.className) && registerClass(kForm.className);
    return registered;
  }

  static RECT outerAround(DWORD style, DWORD exStyle, int32_t clientWidth, int32_t clientHeight) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
  }

  // A form's client area as its client draws it; the face colour where it draws nothing.
  static void paintForm(HWND h, WindowClient* client) {
    WindowPixels picture;
    if (client) guarded([&] { client->paintWindow(picture); });
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    // What the picture does not reach (a size change not yet drawn) shows the face.
    if (drawPixels(dc, picture)) ExcludeClipRect(dc, 0, 0, picture.width, picture.height);
    FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(h, &ps);
  }

  // A host's window: its size changes and its end reach the form that wraps it.
  static LRESULT CALLBACK watchProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* client = reinterpret_cast<WindowClient*>(data);
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(h, &watchProcedure, kWatchId);
      guarded([&] { client->windowDestroyed(); });
      return DefSubclassProc(h, message, wParam, lParam);
    }
    // The bars first, so the host's own WM_SIZE handling finds the free area laid out.
    if (message == WM_SIZE && wParam != SIZE_MINIMIZED) guarded([&] { client->windowResized(); });
    return DefSubclassProc(h, message, wParam, lParam);
  }

  HWND create(WindowClient* client, const PixelRect& outer, const WindowKind& kind) {
    creating_ = client;
    creatingKind_ = &kind;
    HWND h = CreateWindowExA(kind.exStyle, kind.className, "", kind.style, outer.left, outer.top, outer.width(),
                             outer.height(), nullptr, nullptr, thisModule(), this);
    creating_ = nullptr;
    return h;
  }

  static WindowHandle made(HWND window) {
    if (!window) automation::raise(kOutOfMemory, "The system could not create a window");
    return ourHandle(window);
  }

  static SIZE outerSize(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return {r.right - r.left, r.bottom - r.top};
  }

  static void requireOwnerIndex(int32_t index) {
    if (index != GWL_HWNDPARENT)
      automation::raise(automation::err::InvalidCall, "Only the owner (GWL_HWNDPARENT) is read and written, not " +
                                                          std::to_string(index));
  }

  // Any window of the system; raises 5 for a handle that names none.
  static HWND anyWindow(WindowHandle window) {
    HWND h = systemHandle(window);
    if (window == 0 || !IsWindow(h))
      automation::raise(automation::err::InvalidCall, "No window has the handle " + std::to_string(window));
    return h;
  }

  HWND ours(WindowHandle window) const {
    if (!isWindow(window))
      automation::raise(automation::err::InvalidCall, "No window of ours has the handle " + std::to_string(window));
    return systemHandle(window);
  }

  static Win32Windowing* serviceOf(HWND h) {
    return reinterpret_cast<Win32Windowing*>(GetWindowLongPtrA(h, GWLP_USERDATA));
  }

  Entry* entry(HWND h) {
    auto it = windows_.find(h);
    return it == windows_.end() ? nullptr : &it->second;
  }

  static LRESULT CALLBACK windowProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Win32Windowing*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      Entry e;
      e.client = self->creating_;
      e.form = self->creatingKind_->form;
      e.size = {reinterpret_cast<CREATESTRUCTA*>(lParam)->cx, reinterpret_cast<CREATESTRUCTA*>(lParam)->cy};
      self->windows_[h] = e;
      return DefWindowProcA(h, message, wParam, lParam);
    }
    Win32Windowing* self = serviceOf(h);
    Entry* e = self ? self->entry(h) : nullptr;
    if (!e) return DefWindowProcA(h, message, wParam, lParam);
    switch (message) {
      case WM_CLOSE:
        // The client unloads its form, which destroys the window; the system's default
        // would destroy it a second time.
        if (WindowClient* client = e->client) guarded([&] { client->windowCloseRequested(); });
        return 0;
      case WM_SIZE: {
        if (e->moving) return 0;  // moveWindow tells the client itself
        const SIZE now = outerSize(h);
        if (now.cx == e->size.cx && now.cy == e->size.cy) return 0;
        e->size = now;
        if (WindowClient* client = e->client) guarded([&] { client->windowResized(); });
        return 0;
      }
      case WM_GETMINMAXINFO: {
        // No smaller than frame and caption, so a toolbar of any size can be fitted.
        LRESULT r = DefWindowProcA(h, message, wParam, lParam);
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(h, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(h, GWL_EXSTYLE)));
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
        return r;
      }
      case WM_ERASEBKGND:
        if (!e->form) break;
        return 1;  // the paint covers every pixel
      case WM_PAINT:
        if (!e->form) break;
        paintForm(h, e->client);
        return 0;
      case WM_NCDESTROY:
        self->windows_.erase(h);
        break;
      default:
        break;
    }
    return DefWindowProcA(h, message, wParam, lParam);
  }

  // The message hook: the listener first, then the window.
  static LRESULT CALLBACK hookProcedure(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    Win32Windowing* self = serviceOf(h);
    Entry* e = self ? self->entry(h) : nullptr;
    if (!e) return DefWindowProcA(h, message, wParam, lParam);
    const WNDPROC next = e->subclassed ? e->subclassed : &windowProcedure;
    if (MessageListener* listener = e->listener) {
      int32_t result = 0;
      if (message == WM_SIZING && lParam != 0) {
        // The system's RECT, lent for the listener's call only; what the listener wrote is
        // what the system goes on with.
        auto* proposed = reinterpret_cast<RECT*>(lParam);
        PixelRect rect = fromRECT(*proposed);
        guarded([&] {
          LentRect lent(rect);
          listener->windowMessage(ourHandle(h), WM_SIZING, static_cast<int32_t>(wParam), lent.address(), result);
        });
        *proposed = {rect.left, rect.top, rect.right, rect.bottom};
      } else {
        guarded([&] {
          listener->windowMessage(ourHandle(h), static_cast<int32_t>(message), static_cast<int32_t>(wParam),
                                  static_cast<int32_t>(lParam), result);
        });
      }
      if (!IsWindow(h)) return 0;  // the listener's form unloaded and took the window
    }
    return CallWindowProcA(next, h, message, wParam, lParam);
  }

  double twipsX_, twipsY_;
  std::map<HWND, Entry> windows_;
  WindowClient* creating_ = nullptr;
  const WindowKind* creatingKind_ = &kPalette;
};

}  // namespace

MessageBoxResult desktopMessageBox(const std::string& text, MessageBoxButtons buttons, const std::string& title) {
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

void reportUncaughtError() noexcept {
  try {
    try {
      throw;
    } catch (const automation::AutomationError& e) {
      windowing().messageBox(e.description(), MessageBoxButtons::Ok, e.source());
    } catch (const std::exception& e) {
      windowing().messageBox(e.what(), MessageBoxButtons::Ok, "");
    }
  } catch (...) {
    // Not ours to describe, or the box itself failed: nothing is left to tell the user with.
  }
}

double desktopTwipsPerPixel(bool vertical) {
  HDC screen = GetDC(nullptr);
  const int pixelsPerInch = screen ? GetDeviceCaps(screen, vertical ? LOGPIXELSY : LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return pixelsPerInch > 0 ? 1440.0 / pixelsPerInch : 15.0;
}

std::shared_ptr<Windowing> makeWin32Windowing() {
  auto service = std::make_shared<Win32Windowing>();
  if (!service->canMakeWindows()) return nullptr;
  return service;
}

}  // namespace zadeve::platform
