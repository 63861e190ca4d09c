#pragma once
// frmToolPalette: the library's own palette window. It holds one toolbar, `bar`, that stands
// in for a host form's toolbar while that bar floats.
//
// Call flow (a signal word runs the receiver's handler inside the write):
//   KaTFloat(theForm, theToolBar)                                        float_bar.cpp
//     theToolBar.Visible = False; theForm.Signal = "REFORMAT"  -> host: KaTLayout
//     aBar = theToolBar; palette.targetForm, palette.theLibrary
//     palette.load()      window and controls, then onLoad: sourceBar = aBar, hook
//     Caption, State=Floating, bar.Tag, RegisterBar, FillBar(bar, floating)
//     FloatPos -> palette.Move          -> onResize -> LayoutPalette
//     KaTCopyBarState(theToolBar, bar)
//     palette.Show        first show    -> onResize -> LayoutPalette
//     SetPaletteOwner(palette, theForm); ShellApp.Broadcast "REFRESHTOOLBAR"
//   the user drags an edge, contents shown                               palette_sizing.cpp
//     msg Message(WM_SIZING, edge, rect) -> onSizing
//       LayoutPalette(wt, ht) -> palette.Move -> onResize -> LayoutPalette (busy: returns)
//       SetRECT(rect): the size the palette took
//     the system takes the rectangle    -> onResize -> LayoutPalette
//   a button on the palette                                              palette_routing.cpp
//     bar event -> aBar, aString, aCmdFlag / aValue / aSpinUp / aSpinDown
//       targetForm.Signal = "ExecuteCommand"  -> the host runs the command
//   the user docks: close box, or the context menu's "Dock"
//     unload() -> onUnload
//       KaTCopyBarState(bar, sourceBar)
//       unless Tag = "DONTDOCK": sourceBar.Visible, State=Docked,
//                                sourceBar.parent.Signal = "REFORMAT"  -> host: KaTLayout
//       FloatPos; KaTUnloadBars(palette); the window gets the host window's owner
//       targetForm, sourceBar, theLibrary := Nothing
//     then the controls are detached and the window destroyed

#include <cstdint>
#include <string>
#include <vector>

#include "automation/event_sink.h"
#include "automation/member_table.h"
#include "core/zuzuzud_library.h"
#include "platform/control_registry.h"
#include "platform/message_hook.h"
#include "platform/windowing.h"

namespace zadeve::palette {

using automation::ObjectRef;
using automation::Ref;
using automation::Variant;

// An item of the palette's menu: what the pop-up shows.
class PaletteMenu : public automation::Dispatchable<PaletteMenu> {
 public:
  static const automation::MemberTable<PaletteMenu>& memberTable();
  PaletteMenu(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}
  const std::string& name() const { return name_; }
  const std::string& caption() const { return caption_; }

 private:
  std::string name_;
  std::string caption_;
};

class FrmToolPalette : public automation::Dispatchable<FrmToolPalette>,
                       public automation::EventSink,
                       public platform::WindowClient {
 public:
  static const automation::MemberTable<FrmToolPalette>& memberTable();
  static constexpr const char* FormName = "frmToolPalette";
  static constexpr const char* ToolbarProgId = "vizevore.ReVivezav";
  static constexpr const char* DontDock = "DONTDOCK";

  FrmToolPalette();
  ~FrmToolPalette() override;

  // Public fields: other code reads them by name ("targetForm").
  ObjectRef targetForm;
  Ref<core::ZuzuzudLibrary> theLibrary;

  // --- The form.
  // Load: creates the window (hidden) and the controls, then runs the load step. A palette
  // loads once; it stays loaded, and alive, until it is unloaded.
  void load();
  void show();
  // Runs the unload step, then detaches the controls and destroys the window. Errors of the
  // unload step reach the caller; the palette goes all the same.
  void unload();
  bool loaded() const { return hWnd_ != 0; }
  platform::WindowHandle hWnd() const { return hWnd_; }
  std::string Caption() const;
  void Caption(const std::string& caption);
  const std::string& Tag() const { return tag_; }
  void Tag(std::string tag) { tag_ = std::move(tag); }
  bool Visible() const;
  // Outer geometry and client size, twips.
  float Left() const;
  float Top() const;
  float Width() const;
  float Height() const;
  float ScaleWidth() const;
  float ScaleHeight() const;
  void Move(double left, double top, double width, double height);
  // Writing a different text runs the change handler; the same text changes nothing.
  const std::string& Signal() const { return signal_; }
  void Signal(const std::string& text);

  const ObjectRef& bar() const { return bar_.control; }
  const Ref<platform::Msghook>& msg() const { return msg_; }
  const Ref<PaletteMenu>& mnuState() const { return mnuState_; }
  const Ref<PaletteMenu>& mnuFloat() const { return mnuFloat_; }
  const Ref<PaletteMenu>& mnuDock() const { return mnuDock_; }
  const ObjectRef& sourceBar() const { return sourceBar_; }
  int16_t dockRequested() const { return dockRequested_; }
  int16_t layoutBusy() const { return layoutBusy_; }

  // --- Fitting: re-fits the window around its toolbar; w and h are the proposed outer size
  // on entry and the size taken on return (twips).
  void LayoutPalette(int32_t& w, int32_t& h);
  static Variant MaxValue(const Variant& a, const Variant& b);

  // Every loaded palette of the process, in load order.
  static std::vector<Ref<FrmToolPalette>> loadedPalettes();

  // --- Events of the controls and of the window.
  void controlEvent(automation::Object& source, std::string_view event, std::span<automation::Arg> args) override;
  void windowResized() override;
  void windowCloseRequested() override { unload(); }

 private:
  void onLoad();
  void onResize();
  void onUnload();
  void onSignalChange();
  void onBarContextMenu();
  void onSizing(int32_t message, int32_t edge, int32_t address);

  // Command routing.
  void onButtonClick();
  void onButtonChange(float value, const char* suffix);
  void onButtonSpin(float value, bool up);

  core::ZuzuzudLibrary& library() const;
  double twipsPerPixelX() const;
  double twipsPerPixelY() const;

  platform::WindowHandle hWnd_ = 0;
  bool unloading_ = false;
  std::string tag_;
  std::string signal_;
  platform::PlacedControl bar_;
  Ref<platform::Msghook> msg_;
  Ref<PaletteMenu> mnuState_, mnuFloat_, mnuDock_;
  ObjectRef sourceBar_;
  int16_t dockRequested_ = automation::False;
  int16_t layoutBusy_ = automation::False;
};

}  // namespace zadeve::palette
