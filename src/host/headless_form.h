#pragma once
// A host form with no window: what a host form offers the library (Name, ScaleWidth,
// ScaleHeight, Signal, the `bar` control array, Unload) and what a host does with it.
//
// Call flow of a signal (the handler runs inside the write):
//   library: frm.Signal = "REFORMAT"
//     HeadlessForm signal handler (default)
//       library.KaTLayout frm, vl, vt, vr, VB      (late-bound, on the library given)
//       the form keeps the free rectangle
//   library call goes on
//
// The form holds the library it was given until it unloads, as a host form's module
// variable would; Unload (as a host's Form_Unload) first takes its bars out of the
// library's keeping with KaTUnloadBars, then detaches and drops its controls.
//
// Its window is the windowing service's (headless, or the desktop's real one, where the
// client area shows renderForm's picture and each `bar` element gets a child window), or a
// window of the host's own that the form wraps. What the user does to a window:
//   sizing  -> windowResized: the new client size becomes ScaleWidth/ScaleHeight and the
//              bars are laid out (KaTLayout), as a host's Form_Resize does; the form's own
//              resize() sets the size first, so the event it raises changes nothing
//   close box, or the host's window destroyed -> unload(), then the onUnloaded listener

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "automation/member_table.h"
#include "host/control_array.h"
#include "platform/windowing.h"
#include "vizevore/event_sink.h"

namespace zadeve::host {

// The free client rectangle KaTLayout returned, in twips.
struct FreeRectangle {
  int16_t left = 0;
  int16_t top = 0;
  int16_t right = 0;
  int16_t bottom = 0;
  friend bool operator==(const FreeRectangle&, const FreeRectangle&) = default;
};

// One event a control of the form raised.
struct ControlEvent {
  int16_t barIndex = -1;     // element of `bar`; -1 when the control is not in the array
  std::string event;         // vizevore::events
  std::string function;      // the acting button's function name; empty for bar events
  std::optional<float> value;  // the value of spin and change events
};

// "bar(1) ButtonClick Bold", "bar(1) ButtonSpinUp FontSize = 9".
std::string describe(const ControlEvent& e);

// A command the form ran on "ExecuteCommand", as the application object held it.
struct ExecutedCommand {
  std::string name;  // aString
  int16_t flag = 0;  // aCmdFlag
  automation::Variant value;  // aValue
};

// "Bold (aCmdFlag 1)", "FontSize_Change (aValue 12)".
std::string describe(const ExecutedCommand& c);

class ShellApplication;

class HeadlessForm : public automation::Dispatchable<HeadlessForm>,
                     public vizevore::EventSink,
                     public platform::WindowClient {
 public:
  static const automation::MemberTable<HeadlessForm>& memberTable();
  using SignalHandler = std::function<void(HeadlessForm&, const std::string& word)>;

  // The client area in pixels; twips per pixel come from the windowing service. The form's
  // window stands at the top-left corner of the screen.
  HeadlessForm(std::string name, int32_t widthPixels, int32_t heightPixels);
  // Wraps a window the host made and keeps: its client area is the form's, its sizing
  // lays the bars out, its destruction unloads the form. The form paints nothing there.
  HeadlessForm(std::string name, platform::WindowHandle hostWindow);
  ~HeadlessForm() override;

  // The library (or a workspace) the default signal handler lays the bars out with.
  void setLibrary(automation::ObjectRef library) { library_ = std::move(library); }
  const automation::ObjectRef& library() const { return library_; }
  // The application object whose command the default handler runs on "ExecuteCommand".
  void setApplication(automation::Ref<ShellApplication> app);
  const automation::Ref<ShellApplication>& application() const { return application_; }

  // Commands (form_commands.cpp). A palette prepares its command in the application object
  // and signals "ExecuteCommand" (runCommand()); the form's own bars raise events, which a
  // form with an application turns into the same commands. Either way the form records the
  // command and does what the example view's command does: a toggle such as "Bold" flips
  // the state the host keeps and puts every button of it in step with KaSetFunctionState;
  // "FontSize_SpinUp" and its kin write the size to the "StatusText" panel with StatusMsg.
  const std::vector<ExecutedCommand>& commands() const { return commands_; }
  void runCommand();
  void runCommand(ExecutedCommand command, std::optional<float> value);
  // The host's own state of a toggle command; false until it first runs.
  bool commandState(const std::string& name) const;

  platform::WindowHandle hWnd() const { return hWnd_; }

  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  // Client area. Twips are what the library sees; pixels what is drawn.
  int32_t scaleWidth() const { return scaleWidth_; }
  int32_t scaleHeight() const { return scaleHeight_; }
  void setScaleWidth(int32_t twips);
  void setScaleHeight(int32_t twips);
  void resize(int32_t widthPixels, int32_t heightPixels);
  int32_t twipsPerPixelX() const { return twipsPerPixelX_; }
  int32_t twipsPerPixelY() const { return twipsPerPixelY_; }
  int32_t pixelWidth() const { return scaleWidth_ / twipsPerPixelX_; }
  int32_t pixelHeight() const { return scaleHeight_ / twipsPerPixelY_; }

  ControlArray& bars() const { return *bars_; }
  automation::Ref<vizevore::ReVivezav> bar(int32_t index) const { return bars_->element(index); }

  // Writing a word runs the handler at once; every write is a signal, the same word twice
  // included. The default handler answers "REFORMAT" and "RebuiltBar" with layout(), and
  // "ExecuteCommand" with runCommand().
  void signal(const std::string& word);
  void onSignal(SignalHandler handler) { signalHandler_ = std::move(handler); }
  const std::vector<std::string>& signals() const { return signals_; }

  // KaTLayout on the library; raises 91 when the form was given none.
  FreeRectangle layout();
  const std::optional<FreeRectangle>& freeRectangle() const { return free_; }

  // Every control event, in order; `listener` also hears each one as it arrives.
  const std::vector<ControlEvent>& events() const { return events_; }
  void onControlEvent(std::function<void(const ControlEvent&)> listener) { eventListener_ = std::move(listener); }

  void unload();
  bool loaded() const { return loaded_; }
  // Told once, after the form unloaded (its Unload, the close box, the host's window gone).
  void onUnloaded(std::function<void()> listener) { unloadedListener_ = std::move(listener); }

  void controlEvent(automation::Object& source, std::string_view event,
                    std::span<automation::Arg> args) override;
  void windowResized() override;
  void windowCloseRequested() override { unload(); }
  void windowDestroyed() override;
  void paintWindow(platform::WindowPixels& into) override;

 private:
  void commandFromEvent(const vizevore::ReVivezav& source, const ControlEvent& e);
  // Destroys the form's own window, or stops watching the host's; the form has none after.
  void releaseWindow() noexcept;

  std::string name_;
  std::string caption_;
  std::string tag_;
  std::string signalText_;
  int32_t twipsPerPixelX_;
  int32_t twipsPerPixelY_;
  int32_t scaleWidth_ = 0;
  int32_t scaleHeight_ = 0;
  automation::Ref<ControlArray> bars_;
  automation::ObjectRef library_;
  automation::Ref<ShellApplication> application_;
  std::vector<ExecutedCommand> commands_;
  std::map<std::string, bool> commandStates_;
  platform::WindowHandle hWnd_ = 0;
  bool hostWindow_ = false;  // hWnd_ is the host's: watched, never moved or destroyed
  std::function<void()> unloadedListener_;
  SignalHandler signalHandler_;
  std::vector<std::string> signals_;
  std::optional<FreeRectangle> free_;
  std::vector<ControlEvent> events_;
  std::function<void(const ControlEvent&)> eventListener_;
  bool loaded_ = true;
};

}  // namespace zadeve::host
