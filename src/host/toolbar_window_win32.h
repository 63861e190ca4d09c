#pragma once
// The child window of our toolbar on a real form (toolbar_window.h): one class, whose
// window, painting and mouse live in toolbar_window_win32.cpp and whose pop-ups (drop-downs,
// the value edit, tooltips) in toolbar_window_popups_win32.cpp.

#include <memory>
#include <string>
#include <vector>

#include "vizevore/paint.h"
#include "vizevore/revivezav.h"

// Include this header after the others: they name the system's constants that windows.h
// makes macros of.
#include <windows.h>
#include <commctrl.h>

namespace zadeve::host {

using vizevore::ItemPart;
using vizevore::PointerLook;

// Posted to the bar's window by the value edit.
inline constexpr UINT kTakeTypedValue = WM_APP + 1;  // Enter
inline constexpr UINT kDropTypedValue = WM_APP + 2;  // Escape, or the edit lost the focus

// The module our windows belong to (the DLL, or the program it is linked into).
HINSTANCE moduleInstance();

class ToolbarWindow final : public vizevore::BarObserver, public std::enable_shared_from_this<ToolbarWindow> {
 public:
  explicit ToolbarWindow(automation::Ref<vizevore::ReVivezav> bar) : bar_(std::move(bar)) {}
  ~ToolbarWindow() { close(); }
  ToolbarWindow(const ToolbarWindow&) = delete;
  ToolbarWindow& operator=(const ToolbarWindow&) = delete;

  // Makes the window in `parent`; false when it cannot.
  bool open(HWND parent);
  // Takes the window away; the bar stays, without one.
  void close();

  // --- BarObserver
  void barChanged() override;
  void barPlaced() override;

 private:
  automation::Ref<vizevore::ReVivezav> bar_;
  HWND parent_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  PointerLook pointer_;  // what the painting shows
  PointerLook held_;     // where the left button went down (item -1: not held)
  bool tracking_ = false;
  std::string tooltipText_;  // lent to the tooltip until it asks again
  HWND edit_ = nullptr;      // a spin's value being typed
  uint32_t editedId_ = 0;
  HWND focusBefore_ = nullptr;

  void unhookForm();
  static bool registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Runs input handling that may raise the bar's events. A handler may unload the form,
  // and with it this shell and the bar: both stay alive until the handling is done. An
  // event handler's error has nobody above the user's click to catch it: it is shown.
  template <class F>
  bool guarded(F&& handle);

  // The wheel goes to the window with the focus, which is the form: turned over the bar,
  // it belongs to the bar.
  static LRESULT CALLBACK formProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data);
  bool handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // --- Painting

  void show(const PointerLook& look);
  void paint();

  // --- The mouse

  const vizevore::Item* itemAt(int32_t index) const;
  void mouseMove(int x, int y, WPARAM wParam, LPARAM lParam);
  void buttonDown(int x, int y);
  void hold(const PointerLook& look);
  void buttonUp(int x, int y);

  // Capture ends: by our own button-up, or because something else took the mouse.
  void release();
  void spin(const PointerLook& look);
  void repeatSpin();
  bool wheel(int screenX, int screenY, int delta);

  // --- Drop-downs: a combo's list and a menu's entries, as the system's pop-up menu below
  // the item. Returns the 0-based choice, or -1.
  int32_t dropDown(int32_t index, ItemPart part, const std::vector<std::string>& texts, int32_t checked,
                   const std::vector<bool>& enabled);
  void dropList(int32_t combo);
  void dropMenu(int32_t menuIndex);

  // --- Typing a spin's value: an edit box over the value. Enter takes what was typed
  // (ButtonChange with it, then ButtonValue); Escape or a click elsewhere drops it.

  void editValue(int32_t spin);
  static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data);
  void takeTypedValue();
  void closeEdit();

  // --- Tooltips: one tool that moves to the item under the mouse and asks us its text.

  TTTOOLINFOA toolInfo() const;
  void openTooltip();
  void moveTooltip(int32_t index);
  void quietTooltip(bool quiet);
  void relayToTooltip(UINT message, WPARAM wParam, LPARAM lParam);
  bool tooltipText(NMHDR* header);
};

}  // namespace zadeve::host
