// The bar's child window: paints by copying the bar's own canvas to the screen, so what a
// user sees is exactly the headless picture, and turns mouse input into the bar's user
// actions (revivezav_actions.cpp), which raise its events.

#include <algorithm>
#include <cmath>
#include <memory>

#include "automation/conversions.h"
#include "automation/error.h"
#include "host/form_picture.h"
#include "host/toolbar_window.h"
#include "platform/headless_windowing.h"
#include "platform/win32_windowing.h"
#include "platform/windowing.h"

#include "host/toolbar_window_win32.h"  // last: it brings windows.h
#include "platform/win32_pixels.h"

namespace zadeve::host {
namespace {

using automation::InvokeKind;
using vizevore::ItemKind;

constexpr const char* kClassName = "ZadeveToolbarWindow";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatFirst = 400;  // ms before a held spin arrow repeats
constexpr UINT kRepeatNext = 80;

HWND systemHandle(int32_t handle) { return reinterpret_cast<HWND>(static_cast<intptr_t>(handle)); }

// The form's window, when it is a window of the system that this thread runs: the headless
// service's own handles are small numbers the system may also answer to.
HWND systemWindow(int32_t handle) {
  if (handle == 0) return nullptr;
  auto* headless = dynamic_cast<platform::HeadlessWindowing*>(&platform::windowing());
  if (headless && headless->isWindow(handle)) return nullptr;
  HWND window = systemHandle(handle);
  if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return nullptr;
  return window;
}

}  // namespace

HINSTANCE moduleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&moduleInstance), &module);
  return module;
}

bool ToolbarWindow::open(HWND parent) {
  static const bool registered = registerClass();
  if (!registered) return false;
  hwnd_ = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 1, 1, parent, nullptr,
                          moduleInstance(), this);
  if (!hwnd_) return false;
  parent_ = parent;
  SetWindowSubclass(parent_, &ToolbarWindow::formProc, reinterpret_cast<UINT_PTR>(this),
                    reinterpret_cast<DWORD_PTR>(this));
  bar_->setObserver(this);
  openTooltip();
  barPlaced();
  return true;
}

void ToolbarWindow::close() {
  if (bar_) bar_->setObserver(nullptr);
  unhookForm();
  if (HWND window = std::exchange(hwnd_, nullptr)) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  if (HWND tip = std::exchange(tooltip_, nullptr)) DestroyWindow(tip);
  edit_ = nullptr;  // went with the window
}

void ToolbarWindow::barChanged() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ToolbarWindow::barPlaced() {
  if (!hwnd_) return;
  const double tpp = std::max(1, bar_->twipsPerPixel());
  const auto size = vizevore::paintedSize(*bar_);
  SetWindowPos(hwnd_, HWND_TOP, static_cast<int>(std::lround(bar_->left() / tpp)),
               static_cast<int>(std::lround(bar_->top() / tpp)), size.w, size.h,
               SWP_NOACTIVATE | (bar_->visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ToolbarWindow::unhookForm() {
  if (HWND form = std::exchange(parent_, nullptr))
    RemoveWindowSubclass(form, &ToolbarWindow::formProc, reinterpret_cast<UINT_PTR>(this));
}

bool ToolbarWindow::registerClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ToolbarWindow::windowProc;
  wc.hInstance = moduleInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LRESULT CALLBACK ToolbarWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ToolbarWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || !self->bar_) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {  // the form's window went first
    self->hwnd_ = nullptr;
    self->edit_ = nullptr;
    // The tooltip belongs to the form's top-level window, which may stay.
    if (HWND tip = std::exchange(self->tooltip_, nullptr)) DestroyWindow(tip);
    self->unhookForm();
    self->bar_->setObserver(nullptr);
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  LRESULT result = 0;
  if (self->guarded([&] { return self->handle(message, wParam, lParam, result); })) return result;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

template <class F>
bool ToolbarWindow::guarded(F&& handle) {
  auto keepAlive = weak_from_this().lock();
  automation::Ref<vizevore::ReVivezav> keepBar = bar_;
  try {
    return handle();
  } catch (...) {
    platform::reportUncaughtError();
  }
  return true;
}

LRESULT CALLBACK ToolbarWindow::formProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<ToolbarWindow*>(data);
  if (message == WM_MOUSEWHEEL && self->hwnd_) {
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (WindowFromPoint(at) == self->hwnd_ &&
        self->guarded([&] { return self->wheel(at.x, at.y, GET_WHEEL_DELTA_WPARAM(wParam)); }))
      return 0;
  }
  return DefSubclassProc(form, message, wParam, lParam);
}

bool ToolbarWindow::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: paint(); return true;
    case WM_ERASEBKGND: result = 1; return true;  // the paint covers every pixel
    case WM_MOUSEMOVE: mouseMove(x, y, wParam, lParam); return true;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (held_.item < 0) show({});
      return true;
    case WM_LBUTTONDOWN: buttonDown(x, y); return true;
    case WM_LBUTTONUP: buttonUp(x, y); return true;
    case WM_CAPTURECHANGED: release(); return true;
    case WM_TIMER:
      if (wParam == kRepeatTimer) repeatSpin();
      return true;
    case WM_RBUTTONUP: {
      const float tpp = static_cast<float>(bar_->twipsPerPixel());
      bar_->contextMenu(static_cast<float>(x) * tpp, static_cast<float>(y) * tpp);
      return true;
    }
    case WM_MOUSEWHEEL: return wheel(x, y, GET_WHEEL_DELTA_WPARAM(wParam));
    case WM_NOTIFY: return tooltipText(reinterpret_cast<NMHDR*>(lParam));
    case kTakeTypedValue: takeTypedValue(); return true;
    case kDropTypedValue: closeEdit(); return true;
    default: return false;
  }
}

void ToolbarWindow::show(const PointerLook& look) {
  if (look == pointer_) return;
  pointer_ = look;
  barChanged();
}

void ToolbarWindow::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  const vizevore::Canvas canvas = vizevore::paintToolbar(*bar_, pointer_);
  platform::drawPixels(dc, {canvas.width(), canvas.height(), windowPixels(canvas)});
  EndPaint(hwnd_, &ps);
}

const vizevore::Item* ToolbarWindow::itemAt(int32_t index) const {
  return index >= 0 && index < bar_->itemCount() ? &bar_->items()[static_cast<size_t>(index)] : nullptr;
}

void ToolbarWindow::mouseMove(int x, int y, WPARAM wParam, LPARAM lParam) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  const PointerLook hit = vizevore::hitTest(*bar_, x, y);
  if (held_.item >= 0) {
    // A held button shows pressed only while the mouse is over it.
    show(hit.item == held_.item && hit.part == held_.part ? held_ : PointerLook{});
  } else {
    if (hit.item != pointer_.item) moveTooltip(hit.item);
    show(hit);
  }
  relayToTooltip(WM_MOUSEMOVE, wParam, lParam);
}

void ToolbarWindow::buttonDown(int x, int y) {
  relayToTooltip(WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
  closeEdit();  // a click elsewhere on the bar drops a value being typed
  PointerLook hit = vizevore::hitTest(*bar_, x, y);
  const vizevore::Item* item = itemAt(hit.item);
  if (!item || !item->enabled()) return;
  hit.pressed = true;
  switch (item->kind) {
    case ItemKind::Combo: dropList(hit.item); return;
    case ItemKind::Menu: dropMenu(hit.item); return;
    case ItemKind::Spin:
      if (hit.part == ItemPart::Face) {
        editValue(hit.item);
        return;
      }
      hold(hit);
      spin(hit);
      SetTimer(hwnd_, kRepeatTimer, kRepeatFirst, nullptr);
      return;
    default: hold(hit); return;
  }
}

void ToolbarWindow::hold(const PointerLook& look) {
  held_ = look;
  SetCapture(hwnd_);
  show(look);
}

void ToolbarWindow::buttonUp(int x, int y) {
  const PointerLook held = held_;
  release();
  if (held.item < 0 || held.part != ItemPart::Face) return;
  const PointerLook hit = vizevore::hitTest(*bar_, x, y);
  show(hit);
  if (hit.item == held.item) bar_->click(held.item);
}

void ToolbarWindow::release() {
  if (held_.item < 0) return;
  held_ = {};
  KillTimer(hwnd_, kRepeatTimer);
  if (GetCapture() == hwnd_) ReleaseCapture();
  show({});
}

void ToolbarWindow::spin(const PointerLook& look) {
  if (look.part == ItemPart::SpinUp)
    bar_->spinUp(look.item);
  else
    bar_->spinDown(look.item);
}

void ToolbarWindow::repeatSpin() {
  if (held_.item < 0) return;
  SetTimer(hwnd_, kRepeatTimer, kRepeatNext, nullptr);
  if (pointer_ == held_) spin(held_);  // only while the mouse stays on the arrow
}

bool ToolbarWindow::wheel(int screenX, int screenY, int delta) {
  POINT at{screenX, screenY};
  ScreenToClient(hwnd_, &at);
  const PointerLook hit = vizevore::hitTest(*bar_, at.x, at.y);
  const vizevore::Item* item = itemAt(hit.item);
  if (!item || item->kind != ItemKind::Spin) return false;  // the form may scroll
  for (int notches = delta / WHEEL_DELTA; notches != 0; notches += notches > 0 ? -1 : 1) {
    const bool up = notches > 0;
    if (!(up ? bar_->spinUp(hit.item) : bar_->spinDown(hit.item))) break;
  }
  return true;
}

std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>& bar, automation::Object& form) {
  int32_t handle = 0;
  try {
    handle = automation::toLong(form.invoke("hWnd", InvokeKind::PropertyGet, {}));
  } catch (const automation::AutomationError&) {
    return {};  // a form without a window handle
  }
  return openToolbarWindow(bar, handle);
}

std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>& bar, int32_t formWindow) {
  HWND parent = systemWindow(formWindow);
  if (!parent) return {};
  auto window = std::make_shared<ToolbarWindow>(bar);
  if (!window->open(parent)) return {};
  return [window] { window->close(); };
}

}  // namespace zadeve::host
