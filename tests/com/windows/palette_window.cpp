// Plays a host of the registered ZADEVE.dll on a real desktop (Wine on a virtual display):
// its own form and application object (the reference host's), the library by its program
// identifier. A driver (run_window_stories.sh) sends one command a line on standard input
// and acts as the user with xdotool between commands; each reply ends with "DONE".
//   float NAME          floats the bar, checks its window; prints its points
//   points              the points of the palette last floated, where it is now
//   dragmode 0|1        full-window dragging off or on (read by palettes as they load)
//   sized full|outline  checks the last drag of the palette last floated
//   docked NAME         checks that the palette of NAME closed and the bar docked
// Replies: "ok <what>", "FAILED <what>", and "AT <point> X Y" for the driver.

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include "com/bridge.h"

#include <windows.h>

using namespace zadeve;
using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr double Twips = 15;  // Wine's screen: 96 pixels an inch

CRITICAL_SECTION printLock;

void say(const std::string& line) {
  EnterCriticalSection(&printLock);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
  LeaveCriticalSection(&printLock);
}
void check(bool ok, const std::string& what) { say((ok ? "ok " : "FAILED ") + what); }

std::string rectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// --- Commands from the driver, read on a thread of their own so the window thread pumps;
// the driver waits for each reply, so one line at a time is handed over.
HANDLE commandReady, commandTaken;
std::string command;

DWORD WINAPI readCommands(void*) {
  char line[512];
  for (;;) {
    command = std::fgets(line, sizeof line, stdin) ? line : "quit";
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
    SetEvent(commandReady);
    WaitForSingleObject(commandTaken, INFINITE);
  }
}

void pump() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
}

// The user's input the driver sent before its command is handled first: messages are
// pumped until none has come for a tenth of a second, or for a second at most (a control
// under the mouse keeps a timer running).
void settle() {
  const ULONGLONG end = GetTickCount64() + 1000;
  do pump();
  while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT) != WAIT_TIMEOUT && GetTickCount64() < end);
}

// A drop-down or pop-up menu holds the window thread in its own loop, so a second thread
// reports where the entries of each menu that opens are.
DWORD WINAPI watchMenus(void*) {
  HWND last = nullptr;
  for (;;) {
    Sleep(50);
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu) && menu != last) {
      Sleep(100);  // let it finish opening
      auto handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; handle && i < GetMenuItemCount(handle); ++i) {
        RECT e{};
        if (GetMenuItemRect(nullptr, handle, static_cast<UINT>(i), &e))
          say("AT entry " + std::to_string(i) + " " + std::to_string((e.left + e.right) / 2) + " " +
              std::to_string((e.top + e.bottom) / 2));
      }
    }
    last = menu && IsWindowVisible(menu) ? menu : nullptr;
  }
}

std::string nextCommand() {
  while (MsgWaitForMultipleObjects(1, &commandReady, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) pump();
  std::string c = command;
  SetEvent(commandTaken);
  settle();
  return c;
}

// --- What the palette window went through, seen from hooks on this thread.
struct Fit {
  RECT outer{}, client{};
  double barWidth = 0, barHeight = 0, idealLength = 0;
};
struct SizingStep {
  RECT proposed{}, taken{};
  Fit fit;
};

HWND watched = nullptr;
ObjectRef watchedBar;
RECT proposal{};
std::vector<SizingStep> steps;
RECT lastRectBeforeDestroy{};

Fit fitOf(HWND h, const ObjectRef& bar) {
  Fit f;
  GetWindowRect(h, &f.outer);
  GetClientRect(h, &f.client);
  f.barWidth = automation::toDouble(automation::getProperty(*bar, "Width"));
  f.barHeight = automation::toDouble(automation::getProperty(*bar, "Height"));
  f.idealLength = automation::toDouble(automation::getProperty(*bar, "IdealLength"));
  return f;
}

// The toolbar fills the client area (to the pixel the twips round to) and is as long as
// its layout wants: a width the layout allows.
bool fits(const Fit& f) {
  return std::abs(f.client.right * Twips - f.barWidth) < Twips && std::abs(f.client.bottom * Twips - f.barHeight) < Twips &&
         f.barWidth == f.idealLength;
}
std::string describe(const Fit& f) {
  return "outer " + rectText(f.outer) + ", client " + std::to_string(f.client.right) + "x" +
         std::to_string(f.client.bottom) + " px, toolbar " + automation::toString(Variant(f.barWidth)) + "x" +
         automation::toString(Variant(f.barHeight)) + " twips, ideal length " +
         automation::toString(Variant(f.idealLength));
}

LRESULT CALLBACK beforeMessage(int code, WPARAM w, LPARAM l) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
  if (code == HC_ACTION && m->hwnd == watched) {
    if (m->message == WM_SIZING) proposal = *reinterpret_cast<const RECT*>(m->lParam);
    if (m->message == WM_DESTROY) GetWindowRect(m->hwnd, &lastRectBeforeDestroy);
  }
  return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK afterMessage(int code, WPARAM w, LPARAM l) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(l);
  if (code == HC_ACTION && m->hwnd == watched && m->message == WM_SIZING && watchedBar) {
    SizingStep s;
    s.proposed = proposal;
    s.taken = *reinterpret_cast<const RECT*>(m->lParam);
    s.fit = fitOf(m->hwnd, watchedBar);
    steps.push_back(s);
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// --- The host.
struct Host {
  ObjectRef lib;
  automation::Ref<host::ShellApplication> app;
  automation::Ref<host::ToolbarManager> tbm;
  automation::Ref<host::HeadlessForm> form;
  std::vector<std::pair<std::string, HWND>> palettes;

  ObjectRef bar(const std::string& name) const {
    for (int32_t i = 0; i <= form->bars().upperBound(); ++i) {
      ObjectRef b(form->bar(i));
      if (b && automation::toString(automation::callMethod(*lib, "KaTBarName", {Variant(b)})) == name) return b;
    }
    throw std::runtime_error("no bar " + name);
  }
  std::string prop(const std::string& name, const char* key) const {
    return automation::toString(automation::callMethod(*lib, "KaTGetProp", {Variant(bar(name)), key, ""}));
  }
  // The window of the bar's latest palette.
  HWND paletteOf(const std::string& name) const {
    for (auto it = palettes.rbegin(); it != palettes.rend(); ++it)
      if (it->first == name) return it->second;
    return nullptr;
  }
};

struct Found {
  std::string caption;
  std::vector<HWND> windows;
};
BOOL CALLBACK findCaption(HWND h, LPARAM l) {
  auto* f = reinterpret_cast<Found*>(l);
  char text[256] = {};
  GetWindowTextA(h, text, sizeof text);
  if (IsWindowVisible(h) && f->caption == text) f->windows.push_back(h);
  return TRUE;
}

// The first point, walking in from `from` by `step`, where the window answers `hit`.
bool pointWith(HWND h, POINT from, POINT step, LRESULT hit, POINT& at) {
  for (int i = 0; i < 40; ++i) {
    POINT p{from.x + i * step.x, from.y + i * step.y};
    if (SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == hit) {
      at = p;
      return true;
    }
  }
  return false;
}

// Where the driver acts on a palette: its right edge, its close box, its client area.
void sayPoints(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  POINT at{};
  const LONG middle = (r.top + r.bottom) / 2;
  if (pointWith(h, {r.right - 1, middle}, {-1, 0}, HTRIGHT, at))
    say("AT edge " + std::to_string(at.x) + " " + std::to_string(at.y));
  const LONG captionRow = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYSMCAPTION) / 2;
  if (pointWith(h, {r.right - GetSystemMetrics(SM_CXFRAME) - 2, captionRow}, {-1, 0}, HTCLOSE, at))
    say("AT close " + std::to_string(at.x) + " " + std::to_string(at.y));
  RECT c{};
  GetClientRect(h, &c);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  say("AT client " + std::to_string(origin.x) + " " + std::to_string(origin.y) + " " + std::to_string(c.right) +
      " " + std::to_string(c.bottom));
}

void floatBar(Host& host, const std::string& name) {
  automation::callMethod(*host.lib, "KaTFloat", {Variant(ObjectRef(host.form)), Variant(host.bar(name))});
  Found found{name, {}};
  EnumWindows(&findCaption, reinterpret_cast<LPARAM>(&found));
  check(found.windows.size() == 1, "one visible top-level window captioned \"" + name + "\" (found " +
                                       std::to_string(found.windows.size()) + ")");
  if (found.windows.empty()) return;
  HWND h = found.windows.front();
  host.palettes.emplace_back(name, h);
  // The palette's toolbar joined the toolbar manager last; its parent is the palette.
  const ObjectRef paletteBar = host.tbm->bars().back();
  const ObjectRef palette = automation::toObject(automation::getProperty(*paletteBar, "parent"));
  check(automation::toLong(automation::getProperty(*palette, "hWnd")) == static_cast<int32_t>(reinterpret_cast<intptr_t>(h)),
        "the palette's hWnd is that window");
  check(GetWindow(h, GW_OWNER) == reinterpret_cast<HWND>(static_cast<intptr_t>(host.form->hWnd())),
        "the host form's window owns it");
  check((GetWindowLongA(h, GWL_STYLE) & WS_THICKFRAME) && (GetWindowLongA(h, GWL_STYLE) & WS_SYSMENU),
        "it is sizable and has a close box");
  const Fit f = fitOf(h, paletteBar);
  check(fits(f), "the toolbar fits the client area: " + describe(f));

  watched = h;
  watchedBar = paletteBar;
  steps.clear();
  sayPoints(h);
}

void checkSizing(Host&, bool full) {
  check(!steps.empty(), "the drag sent WM_SIZING (" + std::to_string(steps.size()) + " times)");
  int corrected = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    const SizingStep& s = steps[i];
    const bool changed = !EqualRect(&s.proposed, &s.taken);
    corrected += changed;
    const std::string at = "step " + std::to_string(i + 1) + " (proposed " + rectText(s.proposed) + ", taken " +
                           rectText(s.taken) + ")";
    if (full) {
      check(EqualRect(&s.taken, &s.fit.outer), at + ": the window took the corrected rectangle at once");
      check(fits(s.fit), at + ": the toolbar fits: " + describe(s.fit));
    } else {
      check(!changed, at + ": with outline dragging the hook leaves the proposal alone");
    }
  }
  if (full) check(corrected > 0, "the hook corrected the proposal in place (" + std::to_string(corrected) + " times)");
  const Fit end = fitOf(watched, watchedBar);
  check(fits(end), "after the drag the toolbar fits: " + describe(end));
  if (!steps.empty()) {
    const RECT last = steps.back().proposed;
    check(end.outer.right - end.outer.left > 0 && end.outer.left == last.left, "the left edge stayed put");
  }
}

void checkDocked(Host& host, const std::string& name) {
  HWND h = host.paletteOf(name);
  check(h && !IsWindow(h), "the palette window of " + name + " is gone");
  check(automation::toBoolean(automation::getProperty(*host.bar(name), "Visible")), "the host bar " + name + " is visible");
  check(host.prop(name, "State") == "Docked", name + " State is \"" + host.prop(name, "State") + "\"");
  const RECT& r = lastRectBeforeDestroy;
  const auto t = [](LONG px) { return std::to_string(static_cast<long>(px * Twips)); };
  const std::string expected = t(r.left) + "," + t(r.top) + "," + t(r.right - r.left) + "," + t(r.bottom - r.top);
  check(host.prop(name, "FloatPos") == expected,
        name + " FloatPos is \"" + host.prop(name, "FloatPos") + "\", the last rectangle " + expected);
}

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> w;
  for (std::string word; in >> word;) w.push_back(word);
  return w;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    say("usage: palette_window BARS.INI BITMAP_FOLDER\\");
    return 2;
  }
  CoInitialize(nullptr);
  InitializeCriticalSection(&printLock);
  commandReady = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  commandTaken = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  host::registerReferenceControls();
  SetWindowsHookExA(WH_CALLWNDPROC, &beforeMessage, nullptr, GetCurrentThreadId());
  SetWindowsHookExA(WH_CALLWNDPROCRET, &afterMessage, nullptr, GetCurrentThreadId());

  Host host;
  try {
    CLSID clsid{};
    IDispatch* library = nullptr;
    if (FAILED(CLSIDFromProgID(L"ZADEVE.ZuzuzudLibrary", &clsid)) ||
        FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(&library)))) {
      say("FAILED ZADEVE.ZuzuzudLibrary cannot be created: is the DLL registered?");
      return 1;
    }
    host.lib = com::fromDispatch(library);
    library->Release();
    host.app = automation::makeObject<host::ShellApplication>();
    host.tbm = automation::makeObject<host::ToolbarManager>();
    host.form = automation::makeObject<host::HeadlessForm>("frmMain", 640, 400);
    host.form->setLibrary(host.lib);
    host.form->setApplication(host.app);
    automation::callMethod(*host.lib, "InitialiseZADEVE", {Variant(ObjectRef(host.tbm)), argv[1], argv[2]});
    automation::setProperty(*host.lib, "ShellApplicationObject", host.app);
    automation::callMethod(*host.lib, "KaTSetup", {Variant(ObjectRef(host.form)), "MainView"});
    host.form->layout();
  } catch (const automation::AutomationError& e) {
    say("FAILED setting the host up: " + std::string(e.what()));
    return 1;
  }
  CreateThread(nullptr, 0, &readCommands, nullptr, 0, nullptr);
  CreateThread(nullptr, 0, &watchMenus, nullptr, 0, nullptr);
  say("READY");
  say("DONE");

  for (;;) {
    const auto w = words(nextCommand());
    if (w.empty()) continue;
    if (w[0] == "quit") break;
    try {
      if (w[0] == "float" && w.size() == 2) {
        floatBar(host, w[1]);
      } else if (w[0] == "points" && watched && IsWindow(watched)) {
        sayPoints(watched);
      } else if (w[0] == "dragmode" && w.size() == 2) {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, w[1] == "1", nullptr, 0);
        BOOL full = -1;
        SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
        check(full == (w[1] == "1"), "full-window dragging is " + std::to_string(full));
      } else if (w[0] == "sized" && w.size() == 2) {
        checkSizing(host, w[1] == "full");
      } else if (w[0] == "docked" && w.size() == 2) {
        checkDocked(host, w[1]);
      } else {
        say("FAILED unknown command: " + w[0]);
      }
    } catch (const std::exception& e) {
      say("FAILED " + w[0] + ": " + e.what());
    }
    say("DONE");
  }
  host.form->unload();
  return 0;
}
