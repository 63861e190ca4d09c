// The bar's child window: paints by copying the bar's own canvas to the screen, so what a
// user sees is exactly the headless picture, and turns mouse input into the bar's user
// actions (revivezav_actions.cpp), which raise its events.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "automation/error.h"
#include "host/toolbar_window.h"
#include "platform/headless_windowing.h"
#include "platform/windowing.h"
#include "vizevore/paint.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>
#include <commctrl.h>

namespace zadeve::host {
namespace {

using automation::InvokeKind;
using vizevore::ItemKind;
using vizevore::ItemPart;
using vizevore::PointerLook;

constexpr const char* kClassName = "ZadeveToolbarWindow";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatFirst = 400;  // ms before a held spin arrow repeats
constexpr UINT kRepeatNext = 80;
constexpr UINT kTakeTypedValue = WM_APP + 1;  // posted by the value edit: Enter
constexpr UINT kDropTypedValue = WM_APP + 2;  // Escape, or the edit lost the focus

HINSTANCE moduleInstance() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&moduleInstance), &module);
  return module;
}

HWND systemHandle(int32_t handle) { return reinterpret_cast<HWND>(static_cast<intptr_t>(handle)); }

// The form's window, when it is a window of the system that this thread runs: the headless
// service's own handles are small numbers the system may also answer to.
HWND formWindow(automation::Object& form) {
  int32_t handle = 0;
  try {
    handle = automation::toLong(form.invoke("hWnd", InvokeKind::PropertyGet, {}));
  } catch (const automation::AutomationError&) {
    return nullptr;  // a form without a window handle
  }
  if (handle == 0) return nullptr;
  auto* headless = dynamic_cast<platform::HeadlessWindowing*>(&platform::windowing());
  if (headless && headless->isWindow(handle)) return nullptr;
  HWND window = systemHandle(handle);
  if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return nullptr;
  return window;
}

class ToolbarWindow final : public vizevore::BarObserver, public std::enable_shared_from_this<ToolbarWindow> {
 public:
  explicit ToolbarWindow(automation::Ref<vizevore::ReVivezav> bar) : bar_(std::move(bar)) {}
  ~ToolbarWindow() { close(); }
  ToolbarWindow(const ToolbarWindow&) = delete;
  ToolbarWindow& operator=(const ToolbarWindow&) = delete;

  bool open(HWND parent) {
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

  void close() {
    if (bar_) bar_->setObserver(nullptr);
    unhookForm();
    if (HWND window = std::exchange(hwnd_, nullptr)) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      DestroyWindow(window);
    }
    if (HWND tip = std::exchange(tooltip_, nullptr)) DestroyWindow(tip);
    edit_ = nullptr;  // went with the window
  }

  // --- BarObserver
  void barChanged() override {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
  }

  void barPlaced() override {
    if (!hwnd_) return;
    const double tpp = std::max(1, bar_->twipsPerPixel());
    const auto size = vizevore::paintedSize(*bar_);
    SetWindowPos(hwnd_, HWND_TOP, static_cast<int>(std::lround(bar_->left() / tpp)),
                 static_cast<int>(std::lround(bar_->top() / tpp)), size.w, size.h,
                 SWP_NOACTIVATE | (bar_->visible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    InvalidateRect(hwnd_, nullptr, FALSE);
  }

 private:
  automation::Ref<vizevore::ReVivezav> bar_;
  HWND parent_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  PointerLook pointer_;  // what the painting shows
  PointerLook held_;     // where the left button went down (item -1: not held)
  bool tracking_ = false;

  void unhookForm() {
    if (HWND form = std::exchange(parent_, nullptr))
      RemoveWindowSubclass(form, &ToolbarWindow::formProc, reinterpret_cast<UINT_PTR>(this));
  }

  static bool registerClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ToolbarWindow::windowProc;
    wc.hInstance = moduleInstance();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
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

  // Runs input handling that may raise the bar's events. A handler may unload the form,
  // and with it this shell and the bar: both stay alive until the handling is done. An
  // event handler's error has nobody above the user's click to catch it: it is shown.
  template <class F>
  bool guarded(F&& handle) {
    auto keepAlive = weak_from_this().lock();
    automation::Ref<vizevore::ReVivezav> keepBar = bar_;
    try {
      return handle();
    } catch (const automation::AutomationError& e) {
      platform::windowing().messageBox(e.description(), platform::MessageBoxButtons::Ok, e.source());
    } catch (const std::exception& e) {
      platform::windowing().messageBox(e.what(), platform::MessageBoxButtons::Ok, "");
    }
    return true;
  }

  // The wheel goes to the window with the focus, which is the form: turned over the bar,
  // it belongs to the bar.
  static LRESULT CALLBACK formProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
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

  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
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

  // --- Painting

  void show(const PointerLook& look) {
    if (look == pointer_) return;
    pointer_ = look;
    barChanged();
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const vizevore::Canvas canvas = vizevore::paintToolbar(*bar_, pointer_);
    std::vector<uint32_t> bits(canvas.pixels().size());
    for (size_t i = 0; i < bits.size(); ++i) {
      const auto& p = canvas.pixels()[i];
      bits[i] = uint32_t{p.b} | uint32_t{p.g} << 8 | uint32_t{p.r} << 16;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas.width();
    info.bmiHeader.biHeight = -canvas.height();  // top row first, as the canvas keeps it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(canvas.width()), static_cast<DWORD>(canvas.height()), 0, 0, 0,
                      static_cast<UINT>(canvas.height()), bits.data(), &info, DIB_RGB_COLORS);
    EndPaint(hwnd_, &ps);
  }

  // --- The mouse

  const vizevore::Item* itemAt(int32_t index) const {
    return index >= 0 && index < bar_->itemCount() ? &bar_->items()[static_cast<size_t>(index)] : nullptr;
  }

  void mouseMove(int x, int y, WPARAM wParam, LPARAM lParam) {
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

  void buttonDown(int x, int y) {
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

  void hold(const PointerLook& look) {
    held_ = look;
    SetCapture(hwnd_);
    show(look);
  }

  void buttonUp(int x, int y) {
    const PointerLook held = held_;
    release();
    if (held.item < 0 || held.part != ItemPart::Face) return;
    const PointerLook hit = vizevore::hitTest(*bar_, x, y);
    show(hit);
    if (hit.item == held.item) bar_->click(held.item);
  }

  // Capture ends: by our own button-up, or because something else took the mouse.
  void release() {
    if (held_.item < 0) return;
    held_ = {};
    KillTimer(hwnd_, kRepeatTimer);
    if (GetCapture() == hwnd_) ReleaseCapture();
    show({});
  }

  void spin(const PointerLook& look) {
    if (look.part == ItemPart::SpinUp)
      bar_->spinUp(look.item);
    else
      bar_->spinDown(look.item);
  }

  void repeatSpin() {
    if (held_.item < 0) return;
    SetTimer(hwnd_, kRepeatTimer, kRepeatNext, nullptr);
    if (pointer_ == held_) spin(held_);  // only while the mouse stays on the arrow
  }

  bool wheel(int screenX, int screenY, int delta) {
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

  // --- Drop-downs: a combo's list and a menu's entries, as the system's pop-up menu below
  // the item. Returns the 0-based choice, or -1.
  int32_t dropDown(int32_t index, ItemPart part, const std::vector<std::string>& texts, int32_t checked,
                   const std::vector<bool>& enabled) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (size_t i = 0; i < texts.size(); ++i) {
      UINT flags = MF_STRING;
      if (static_cast<int32_t>(i) == checked) flags |= MF_CHECKED;
      if (!enabled.empty() && !enabled[i]) flags |= MF_GRAYED;
      AppendMenuA(menu, flags, i + 1, texts[i].c_str());
    }
    const vizevore::Item& item = *itemAt(index);
    POINT at{item.pixelRect.left, item.pixelRect.bottom()};
    ClientToScreen(hwnd_, &at);
    show({index, part, true});
    UpdateWindow(hwnd_);
    quietTooltip(true);  // it would stand over the entries
    const int picked = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                      at.x, at.y, 0, hwnd_, nullptr);
    DestroyMenu(menu);
    if (hwnd_) show({});
    quietTooltip(false);
    return picked - 1;
  }

  void dropList(int32_t combo) {
    const vizevore::Item& item = *itemAt(combo);
    std::vector<std::string> texts;
    for (const auto& entry : item.combo.entries) texts.push_back(entry.text);
    if (texts.empty()) return;
    const int32_t picked = dropDown(combo, ItemPart::DropButton, texts, item.combo.listIndex, {});
    // The list may have changed while it was open (a handler elsewhere ran).
    const vizevore::Item* now = itemAt(combo);
    if (picked >= 0 && now && now->kind == ItemKind::Combo &&
        picked < static_cast<int32_t>(now->combo.entries.size()))
      bar_->pick(combo, picked);
  }

  void dropMenu(int32_t menuIndex) {
    const std::vector<int32_t> entries = bar_->menuEntries(menuIndex);
    if (entries.empty()) return;
    std::vector<std::string> texts;
    std::vector<bool> enabled;
    for (int32_t e : entries) {
      texts.push_back(itemAt(e)->caption);
      enabled.push_back(itemAt(e)->enabled() && itemAt(e)->visible);
    }
    const int32_t picked = dropDown(menuIndex, ItemPart::Face, texts, -1, enabled);
    if (picked >= 0 && itemAt(entries[static_cast<size_t>(picked)])) bar_->click(entries[static_cast<size_t>(picked)]);
  }

  // --- Typing a spin's value: an edit box over the value. Enter takes what was typed
  // (ButtonChange with it, then ButtonValue); Escape or a click elsewhere drops it.

  void editValue(int32_t spin) {
    closeEdit();
    const vizevore::Box at = vizevore::spinValueBox(*bar_, spin);
    const std::string text = automation::formatSingle(itemAt(spin)->spin.value);
    edit_ = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_RIGHT | ES_AUTOHSCROLL, at.x, at.y,
                            at.w, at.h, hwnd_, nullptr, moduleInstance(), nullptr);
    if (!edit_) return;
    editedId_ = itemAt(spin)->id;
    SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetWindowSubclass(edit_, &ToolbarWindow::editProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(edit_, EM_SETSEL, 0, -1);
    focusBefore_ = SetFocus(edit_);
  }

  static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<ToolbarWindow*>(data);
    // Posted, not handled here: taking the value closes this very edit.
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
      PostMessageA(self->hwnd_, wParam == VK_RETURN ? kTakeTypedValue : kDropTypedValue, 0, 0);
      return 0;
    }
    if (message == WM_CHAR && (wParam == '\r' || wParam == 27)) return 0;  // no beep
    if (message == WM_KILLFOCUS) PostMessageA(self->hwnd_, kDropTypedValue, 0, 0);
    return DefSubclassProc(edit, message, wParam, lParam);
  }

  void takeTypedValue() {
    if (!edit_) return;
    char text[64] = {};
    GetWindowTextA(edit_, text, sizeof text);
    const uint32_t id = editedId_;
    closeEdit();
    char* end = nullptr;
    const float value = std::strtof(text, &end);
    const int32_t spin = bar_->indexOfId(id);
    if (end == text || spin < 0) {
      MessageBeep(MB_OK);
      return;
    }
    if (bar_->typeValue(spin, value)) {
      const int32_t now = bar_->indexOfId(id);  // the handler may have changed the bar
      if (now >= 0) bar_->commitValue(now);
    }
  }

  void closeEdit() {
    HWND edit = std::exchange(edit_, nullptr);
    if (!edit) return;
    RemoveWindowSubclass(edit, &ToolbarWindow::editProc, 1);
    if (GetFocus() == edit) SetFocus(IsWindow(focusBefore_) ? focusBefore_ : GetAncestor(hwnd_, GA_ROOT));
    DestroyWindow(edit);
  }

  // --- Tooltips: one tool that moves to the item under the mouse and asks us its text.

  TTTOOLINFOA toolInfo() const {
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = hwnd_;
    info.uId = 1;
    return info;
  }

  void openTooltip() {
    static const bool loaded = [] {
      INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
      return InitCommonControlsEx(&controls) != FALSE;
    }();
    if (!loaded) return;
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               moduleInstance(), nullptr);
    if (!tooltip_) return;
    TTTOOLINFOA info = toolInfo();
    info.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
  }

  void moveTooltip(int32_t index) {
    if (!tooltip_) return;
    SendMessageA(tooltip_, TTM_POP, 0, 0);
    TTTOOLINFOA info = toolInfo();
    if (const vizevore::Item* item = itemAt(index))
      info.rect = {item->pixelRect.left, item->pixelRect.top, item->pixelRect.right(), item->pixelRect.bottom()};
    SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
  }

  void quietTooltip(bool quiet) {
    if (!tooltip_) return;
    if (quiet) SendMessageA(tooltip_, TTM_POP, 0, 0);
    SendMessageA(tooltip_, TTM_ACTIVATE, quiet ? FALSE : TRUE, 0);
  }

  void relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!tooltip_) return;
    MSG msg{hwnd_, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&msg.pt);
    SendMessageA(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
  }

  bool tooltipText(NMHDR* header) {
    if (!header || header->hwndFrom != tooltip_ || header->code != TTN_GETDISPINFOA) return false;
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    const vizevore::Item* item = itemAt(pointer_.item);
    tooltipText_ = item ? item->tooltip : std::string();
    info->lpszText = tooltipText_.data();
    return true;
  }

  std::string tooltipText_;  // lent to the tooltip until it asks again
  HWND edit_ = nullptr;        // a spin's value being typed
  uint32_t editedId_ = 0;
  HWND focusBefore_ = nullptr;
};

}  // namespace

std::function<void()> openToolbarWindow(const automation::Ref<vizevore::ReVivezav>& bar, automation::Object& form) {
  HWND parent = formWindow(form);
  if (!parent) return {};
  auto window = std::make_shared<ToolbarWindow>(bar);
  if (!window->open(parent)) return {};
  return [window] { window->close(); };
}

}  // namespace zadeve::host
