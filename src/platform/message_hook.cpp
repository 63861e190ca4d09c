#include "platform/message_hook.h"

namespace zadeve::platform {

using namespace automation;

Msghook::~Msghook() { detach(); }

void Msghook::hwnd(int32_t window) {
  if (window == hwnd_) return;
  if (window != 0) windowing().setMessageListener(window, this);  // raises 5 for no window
  if (hwnd_ != 0 && windowing().isWindow(hwnd_)) windowing().setMessageListener(hwnd_, nullptr);
  hwnd_ = window;
}

void Msghook::watch(int32_t message, bool on) {
  if (on)
    switched_.insert(message);
  else
    switched_.erase(message);
}

void Msghook::detach() noexcept {
  if (hwnd_ != 0 && windowing().isWindow(hwnd_)) windowing().setMessageListener(hwnd_, nullptr);
  hwnd_ = 0;
  sink_ = nullptr;
}

void Msghook::windowMessage(WindowHandle, int32_t message, int32_t wParam, int32_t lParam, int32_t& result) {
  if (!sink_ || !watches(message)) return;
  auto keepAlive = automation::keepAlive(*this);  // the handler may unload the form that holds the hook
  Variant r(result);
  Arg args[] = {Variant(message), Variant(wParam), Variant(lParam), byRef(r)};
  sink_->controlEvent(*this, MessageEvent, args);
  result = toLong(r);
}

const MemberTable<Msghook>& Msghook::memberTable() {
  using V = VarType;
  using T = Msghook;
  static const MemberTable<T> table(
      "Msghook",
      {
          {{"hwnd", 1, InvokeKind::PropertyGet, {}, V::Long}, [](T& t, CallArgs&) { return Variant(t.hwnd_); }},
          {{"hwnd", 1, InvokeKind::PropertyLet, {byVal("value", V::Long)}},
           [](T& t, CallArgs& a) {
             t.hwnd(a.long_(0));
             return Variant();
           }},
          {{"Message", 2, InvokeKind::PropertyGet, {byVal("msg", V::Long)}, V::Boolean},
           [](T& t, CallArgs& a) { return Variant(t.watches(a.long_(0))); }},
          {{"Message", 2, InvokeKind::PropertyLet, {byVal("msg", V::Long), byVal("value", V::Boolean)}},
           [](T& t, CallArgs& a) {
             t.watch(a.long_(0), a.boolean(1));
             return Variant();
           }},
      });
  return table;
}

}  // namespace zadeve::platform
