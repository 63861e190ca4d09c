#pragma once
// The message-hook control (MsghookLib.Msghook): placed on a form, it watches the window
// whose handle it is given and raises its `Message` event for every message switched on,
// before the window processes it.
//
// Automation face:
//   hwnd As Long                               get / let: the watched window (0: none)
//   Message(msg As Long) As Boolean            get / let: the per-message switch
// Event, to the form's sink:
//   Message(msg As Long, wp As Long, lp As Long, result As Long ByRef)

#include <cstdint>
#include <set>
#include <string_view>

#include "automation/event_sink.h"
#include "automation/member_table.h"
#include "platform/windowing.h"

namespace zadeve::platform {

class Msghook : public automation::Dispatchable<Msghook>, public MessageListener {
 public:
  static const automation::MemberTable<Msghook>& memberTable();
  static constexpr std::string_view MessageEvent = "Message";

  explicit Msghook(automation::EventSink* sink) : sink_(sink) {}
  ~Msghook() override;

  int32_t hwnd() const { return hwnd_; }
  void hwnd(int32_t window);
  bool watches(int32_t message) const { return switched_.count(message) != 0; }
  void watch(int32_t message, bool on);
  // The form goes: no more events, and the window is let go.
  void detach() noexcept;

  void windowMessage(WindowHandle window, int32_t message, int32_t wParam, int32_t lParam,
                     int32_t& result) override;

 private:
  automation::EventSink* sink_;
  int32_t hwnd_ = 0;
  std::set<int32_t> switched_;
};

}  // namespace zadeve::platform
