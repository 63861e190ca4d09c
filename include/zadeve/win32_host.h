#pragma once
// A C++ Win32 program's way to the library: it wraps its own main window as a host form and
// gets the library initialised (BARS.INI, bitmap folder), a toolbar manager and an
// application object ready made.
//
//   zadeve::win32::HostForm bars(hwnd, {"C:\\app\\BARS.INI", "C:\\app\\bitmaps\\"});
//   bars.setup("DiagramView");                 // KaTSetup: the view's bars on the window
//
// Call flow, all on the window's thread:
//   HostForm(hwnd, settings)
//     ZuzuzudLibrary created; InitialiseZADEVE(TBM, BARS.INI, bitmaps, language);
//     ShellApplicationObject = the application object; the window is watched (subclassed)
//   setup(view) -> KaTSetup frm, view
//     each bar: an element of the form's `bar` array, in a child window of `hwnd`
//     KaTLayout: the bars' windows move to the window's edges
//   -> KaTLayout frm again, for the free area that KaTSetup does not hand back
//   the user sizes the window: WM_SIZE
//     KaTLayout on the new client area (before the program's own WM_SIZE handling, so
//     freeArea() is already the new one there)
//   a report of the library (a problem in BARS.INI): MsgBoxSub
//     shown by onReport's function; by default a message box (with ZADEVE_UNATTENDED=1 in
//     the environment, a line on standard error)
//   a click on a bar's button, or a palette's ("ExecuteCommand" signalled to the form)
//     the command runs as the reference host runs it (toggles kept in step on every bar
//     of the form with KaSetFunctionState, spins written to the "StatusText" panel)
//   the window is destroyed, or unload() is called (the window then stays as it is)
//     KaTUnloadBars: the bars leave the toolbar manager, the form's palettes close;
//     then onUnloaded's function.
//
// The window should have WS_CLIPCHILDREN, so the program's painting leaves the bars alone.
//
// Errors of the library reach the caller as zadeve::automation::AutomationError.

#ifndef _WIN32
#error "zadeve/win32_host.h is for Windows programs"
#endif

#include <functional>
#include <memory>
#include <string>

#include "zadeve/automation.h"

#include <windows.h>

namespace zadeve::win32 {

struct Settings {
  std::string barsIni;       // the toolbar configuration file
  std::string bitmapFolder;  // the icon bitmaps' folder; empty: the folder of barsIni
  std::string languageFile;  // a language file of translated texts; empty: none
};

class HostForm {
 public:
  // Registers the toolbar control, makes and initialises the library, and wraps `window`
  // (the program's, made by it and kept by it) as the host form named `formName`.
  HostForm(HWND window, const Settings& settings, const std::string& formName = "frmMain");
  // Unloads the form when it is still loaded; the window stays.
  ~HostForm();
  HostForm(const HostForm&) = delete;
  HostForm& operator=(const HostForm&) = delete;

  // KaTSetup with the view's bar set, then KaTLayout for freeArea(); `excludeBars` names
  // bars to leave out, "[Name]" each.
  void setup(const std::string& view, const std::string& excludeBars = "");
  // KaTLayout again, as after a change the library does not see (a bar shown by the host).
  void layout();
  // The client area the docked bars leave free, in pixels; all of it before setup.
  RECT freeArea() const;

  // Who shows the library's reports (MsgBoxSub): the text, lines broken by CR LF.
  void onReport(std::function<void(const std::string& text)> show);
  // Told once when the form unloaded: its window destroyed, or unload().
  void onUnloaded(std::function<void()> listener);
  void unload();
  bool loaded() const;

  // The objects behind it, for every other member of the library (KaTFloat,
  // KaSetFunctionState, StatusMsg, ...), called late-bound by name.
  const automation::ObjectRef& library() const;
  const automation::ObjectRef& form() const;
  const automation::ObjectRef& application() const;
  const automation::ObjectRef& toolbarManager() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace zadeve::win32
