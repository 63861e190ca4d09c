// Our toolbar control in a real window, for control_shell.sh to drive with the mouse on a
// virtual display. A plain top-level window stands as the form; the control is placed on
// it through the control registry as the DLL places a palette's bar, and filled with one
// item of each kind. The program reports on standard output, one line each:
//   item INDEX TAG X Y W H         every item that takes room, in screen pixels
//   expected N PATH                the bar's headless picture after N events
//   event NAME TAG ARGS...         each event the control raised, with its current button
//   control X Y W H                the bar's window, at the start and after each event
//   menu X Y W H / entry I X Y W H an open drop-down and its entries (screen pixels)
//   tooltip TEXT                   a tooltip that came up
//   ready                          the window is up and painted
// It quits when the file "quit" appears in the folder given as first argument, or after
// a minute. As a host might, it disables the first button on a BarContextMenu event (then
// fails, raising an error nobody traps) and moves the bar 20 px right and 30 px down on a
// click of ViewGrid, so the driver sees changes made by handlers reach the screen.

#include <atomic>
#include <cstdio>
#include <string>

#include "automation/conversions.h"
#include "automation/error.h"
#include "automation/variant.h"
#include "host/reference_controls.h"
#include "platform/control_registry.h"
#include "vizevore/paint.h"
#include "vizevore/revivezav.h"

#include <windows.h>

using namespace zadeve;
using automation::Arg;
using automation::InvokeKind;
using automation::Variant;

namespace {

constexpr UINT WM_EVENT_DONE = WM_APP + 1;
constexpr UINT_PTR kQuitTimer = 1;

CRITICAL_SECTION printLock;

template <class... A>
void say(const char* format, A... args) {
  EnterCriticalSection(&printLock);
  std::printf(format, args...);
  std::printf("\n");
  std::fflush(stdout);
  LeaveCriticalSection(&printLock);
}

HWND mainWindow = nullptr;
std::string folder = ".";

// The form: a window handle and nothing else, as a form's late-bound face. A script
// host's form answers 0; `answers` false makes a form without the member at all.
class WindowForm final : public automation::Object {
 public:
  WindowForm(HWND* window, bool answers) : window_(window), answers_(answers) {}
  Variant invoke(std::string_view name, InvokeKind kind, std::span<Arg>) override {
    if (answers_ && automation::equalsIgnoreCase(name, "hWnd") && kind == InvokeKind::PropertyGet)
      return Variant(static_cast<int32_t>(reinterpret_cast<intptr_t>(*window_)));
    automation::raise(automation::err::MemberMissing, "Object doesn't support this property or method");
  }
  std::string_view typeName() const override { return "WindowForm"; }

 private:
  HWND* window_;
  bool answers_;
};

automation::Ref<vizevore::ReVivezav> bar;
int events = 0;

class PrintingSink final : public automation::EventSink {
 public:
  void controlEvent(automation::Object&, std::string_view event, std::span<Arg> args) override {
    std::string line = "event " + std::string(event);
    const int32_t current = bar->currentButton();
    line += " " + (current >= 0 ? bar->item(current).tag : std::string("-"));
    for (Arg& a : args) line += " " + automation::toString(a.value());
    if (current >= 0 && bar->item(current).kind == vizevore::ItemKind::Combo)
      line += " list=" + std::to_string(bar->item(current).combo.listIndex);
    if (current >= 0) line += bar->item(current).on() ? " on" : " off";
    say("%s", line.c_str());
    if (event == "BarContextMenu") bar->setEnabled(0, false);
    // The host moves the bar; the window follows.
    if (current >= 0 && bar->item(current).tag == "ViewGrid") {
      const int32_t tpp = bar->twipsPerPixel();
      bar->move(bar->left() + 20 * tpp, bar->top() + 30 * tpp, bar->width(), bar->height());
    }
    PostMessageA(mainWindow, WM_EVENT_DONE, 0, 0);
    if (event == "BarContextMenu") automation::raise(5, "The menu handler failed", "ControlShell");
  }
};

PrintingSink sink;

HWND noWindow = nullptr;

int childWindows() {
  int n = 0;
  for (HWND w = nullptr; (w = FindWindowExA(mainWindow, w, "ZadeveToolbarWindow", nullptr)) != nullptr;) ++n;
  return n;
}

// Forms without a window of the system's get a bar as the headless forms do: no window.
bool windowlessFormsGetNone() {
  for (bool answers : {true, false}) {
    auto form = automation::makeObject<WindowForm>(&noWindow, answers);
    platform::PlacedControl placed = platform::createControl("vizevore.ReVivezav", *form, sink);
    automation::objectAs<vizevore::ReVivezav>(placed.control)->addPushButton("X", "", "", "X", 0, 0, 0, 0);
    const bool none = childWindows() == 0;
    placed.detach();
    if (!none) return false;
  }
  return true;
}

void sayPlace() {
  RECT r;
  GetWindowRect(FindWindowExA(mainWindow, nullptr, "ZadeveToolbarWindow", nullptr), &r);
  say("control %ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void writeExpected() {
  const std::string path = folder + "\\expected-" + std::to_string(events) + ".png";
  vizevore::paintToolbar(*bar).writePng(path);
  say("expected %d %s", events, path.c_str());
}

void fill(vizevore::ReVivezav& b) {
  b.suppressLayout(true);
  b.setBorderFlags(6, 15, 0, 0);
  b.addPushButton("FileOpen", "", "", "Open", 0, 0, 0, 0);
  b.addToggleButton("FormatBold", "", "", "Bold", 0, 0);
  b.addSeparator();
  b.addComboWithEntries("FontName", "Arial;Courier;Times");
  b.setListIndex(b.itemCount() - 1, 0);
  vizevore::SpinData size;
  size.value = 10;
  size.minimum = 6;
  size.maximum = 72;
  size.step = 2;
  b.addSpin("FontSize", size, "Font size");
  b.addGap();
  b.addMenu("ViewMenu", "View");
  b.addMenuItem("ViewZoom", "", "", "Zoom");
  b.addMenuItem("ViewGrid", "", "", "Grid");
  b.addSeparator();
  b.addToggleButton("FormatItalic", "", "", "Italic", 0, 0);
  b.suppressLayout(false);
  // One row: lay out at a generous length first, then take just what the row needs.
  const int32_t tpp = b.twipsPerPixel();
  b.move(8 * tpp, 8 * tpp, 2000 * tpp, 0);
  b.move(8 * tpp, 8 * tpp, b.idealLength(), b.idealDepth());
}

// Watches for the drop-down and the tooltip from a second thread: the window's own thread
// is inside the menu's loop while a drop-down is open.
DWORD WINAPI watch(void*) {
  HWND lastMenu = nullptr;
  std::string lastTip;
  for (;;) {
    Sleep(50);
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu) && menu != lastMenu) {
      Sleep(100);  // let it finish opening
      RECT r;
      GetWindowRect(menu, &r);
      say("menu %ld %ld %ld %ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
      auto handle = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
      for (int i = 0; handle && i < GetMenuItemCount(handle); ++i) {
        RECT e;
        if (GetMenuItemRect(nullptr, handle, static_cast<UINT>(i), &e))
          say("entry %d %ld %ld %ld %ld", i, e.left, e.top, e.right - e.left, e.bottom - e.top);
      }
    }
    lastMenu = menu && IsWindowVisible(menu) ? menu : nullptr;
    HWND tip = FindWindowA("tooltips_class32", nullptr);
    std::string text;
    if (tip && IsWindowVisible(tip)) {
      char buffer[256] = {};
      GetWindowTextA(tip, buffer, sizeof buffer);
      text = buffer[0] ? buffer : "(shown)";
    }
    if (!text.empty() && text != lastTip) say("tooltip %s", text.c_str());
    lastTip = text;
  }
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_EVENT_DONE:
      ++events;
      sayPlace();
      writeExpected();
      return 0;
    case WM_TIMER:
      if (wParam == kQuitTimer && GetFileAttributesA((folder + "\\quit").c_str()) != INVALID_FILE_ATTRIBUTES) {
        EndMenu();  // a drop-down left open would keep its loop going
        PostQuitMessage(0);
      }
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  InitializeCriticalSection(&printLock);
  if (argc > 1) folder = argv[1];
  WNDCLASSA wc{};
  wc.lpfnWndProc = mainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "ControlShellForm";
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);
  mainWindow = CreateWindowExA(0, wc.lpszClassName, "Toolbar shell", WS_OVERLAPPEDWINDOW, 100, 100, 640, 300,
                               nullptr, nullptr, wc.hInstance, nullptr);
  if (!mainWindow) {
    say("FAILED: no window (is there a display?)");
    return 1;
  }
  try {
    host::registerReferenceControls();
    if (!windowlessFormsGetNone()) {
      say("FAILED: a form without a window got a window for its bar");
      return 1;
    }
    auto form = automation::makeObject<WindowForm>(&mainWindow, true);
    platform::PlacedControl placed = platform::createControl("vizevore.ReVivezav", *form, sink);
    bar = automation::objectAs<vizevore::ReVivezav>(placed.control);
    fill(*bar);
    ShowWindow(mainWindow, SW_SHOW);
    UpdateWindow(mainWindow);

    HWND child = FindWindowExA(mainWindow, nullptr, "ZadeveToolbarWindow", nullptr);
    if (!child) {
      say("FAILED: the control made no window");
      return 1;
    }
    RECT r;
    GetWindowRect(child, &r);
    sayPlace();
    for (int32_t i = 0; i < bar->itemCount(); ++i) {
      const auto& item = bar->item(i);
      if (item.pixelRect.empty()) continue;
      say("item %d %s %ld %ld %d %d", i, item.tag.c_str(), r.left + item.pixelRect.left, r.top + item.pixelRect.top,
          item.pixelRect.width, item.pixelRect.height);
    }
    writeExpected();
    CreateThread(nullptr, 0, watch, nullptr, 0, nullptr);
    SetTimer(mainWindow, kQuitTimer, 100, nullptr);
    const DWORD start = GetTickCount();
    say("ready");
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && GetTickCount() - start < 60000) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    placed.detach();
    const bool gone = FindWindowExA(mainWindow, nullptr, "ZadeveToolbarWindow", nullptr) == nullptr;
    say(gone ? "detached" : "FAILED: the window outlived detach");
    DestroyWindow(mainWindow);
    return gone ? 0 : 1;
  } catch (const automation::AutomationError& e) {
    say("FAILED: error %d: %s", e.number(), e.description().c_str());
    return 1;
  }
}
