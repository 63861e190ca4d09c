// The reference host's form on its own real window, for host_windows.sh: the diagram
// editor's DiagramView on an 800 x 600 form (folder of its BARS.INI as first argument).
// It prints, one line each:
//   shown HWND X Y W H        the form is up and painted: its client area on the screen
//   size W H                  the user sized it: its new client area
// while the user may size it and click Bold, until the file "go" appears in the folder given as second argument; then it checks
// what only the program can see, printing "ok ..." or "FAILED ..." for each:
//   the window's class, style and client size; the command the click ran; Tools floated: the palette is owned by the
//   form, and the user's minimising of the form hides it; the close box (SC_CLOSE) unloads
//   the form (onUnloaded, no bar left in the toolbar manager, no palette, no form window).
// It exits 0 when nothing failed.

#include <cstdio>
#include <string>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "zadeve/library.h"

#include <windows.h>

using namespace zadeve;
using automation::callMethod;
using automation::makeObject;
using automation::Variant;

namespace {

int failures = 0;

void check(bool good, const std::string& what) {
  std::printf("%s %s\n", good ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  failures += good ? 0 : 1;
}

// Lets the window system deliver what the last call set off.
void pump(int milliseconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

HWND handleOf(platform::WindowHandle h) { return reinterpret_cast<HWND>(static_cast<intptr_t>(h)); }

HWND findWindow(const char* className) { return FindWindowExA(nullptr, nullptr, className, nullptr); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: host_form FOLDER SCRATCH\n");
    return 2;
  }
  const std::string folder = argv[1], scratch = argv[2];
  try {
    host::registerReferenceControls();
    auto lib = createLibrary();
    auto tbm = makeObject<host::ToolbarManager>();
    auto app = makeObject<host::ShellApplication>();
    auto form = makeObject<host::HeadlessForm>("frmMain", 800, 600);
    form->setLibrary(lib);
    form->setApplication(app);
    int unloaded = 0;
    form->onUnloaded([&] { ++unloaded; });
    callMethod(*lib, "InitialiseZADEVE", {Variant(tbm), folder + "BARS.INI", folder, ""});
    automation::setProperty(*lib, "ShellApplicationObject", app);
    callMethod(*lib, "KaTSetup", {Variant(form), "DiagramView"});
    form->layout();  // as a host's Form_Resize after its Form_Load
    pump(500);

    HWND window = handleOf(form->hWnd());
    POINT origin{0, 0};
    RECT client{};
    ClientToScreen(window, &origin);
    GetClientRect(window, &client);
    std::printf("shown %ld %ld %ld %ld %ld\n", static_cast<long>(form->hWnd()), origin.x, origin.y, client.right,
                client.bottom);
    std::fflush(stdout);
    // Meanwhile the user may size the form: each new client size is told.
    const std::string go = scratch + "\\go";
    int32_t width = form->pixelWidth(), height = form->pixelHeight();
    for (int i = 0; i < 600 && GetFileAttributesA(go.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
      pump(100);
      if (form->pixelWidth() == width && form->pixelHeight() == height) continue;
      width = form->pixelWidth(), height = form->pixelHeight();
      std::printf("size %d %d\n", static_cast<int>(width), static_cast<int>(height));
      std::fflush(stdout);
    }
    GetClientRect(window, &client);

    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    check(std::string(className) == "ZadeveForm", std::string("the form's window class is ") + className);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE), exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    check((style & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) == (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN) &&
              (exStyle & WS_EX_TOOLWINDOW) == 0,
          "an application window that clips its children");
    check(client.right == width && client.bottom == height,
          "the client area is exactly the form's (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    int children = 0;
    for (HWND c = FindWindowExA(window, nullptr, "ZadeveToolbarWindow", nullptr); c;
         c = FindWindowExA(window, c, "ZadeveToolbarWindow", nullptr))
      ++children;
    check(children == form->bars().count(), "every bar element has a child window (" + std::to_string(children) +
                                                " of " + std::to_string(form->bars().count()) + ")");

    check(form->commandState("Bold") && form->commands().size() == 1 && form->commands()[0].name == "Bold",
          "the user's click on Bold ran its command once, as the host runs it");

    callMethod(*lib, "KaTFloat", {Variant(form), Variant(form->bar(3))});  // Tools
    pump(300);
    HWND palette = findWindow("ZadeveToolPalette");
    check(palette && GetWindow(palette, GW_OWNER) == window, "the floated bar's palette is owned by the form");
    SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pump(500);
    check(palette && !IsWindowVisible(palette), "minimising the form hides the palette");
    SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    pump(500);
    check(palette && IsWindowVisible(palette), "restoring the form shows the palette again");
    check(form->pixelWidth() == width && form->pixelHeight() == height, "the form came back at its size");

    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump(300);
    check(!form->loaded() && unloaded == 1, "the close box unloaded the form, and the host heard it once");
    check(automation::toLong(callMethod(*tbm, "Count")) == 0, "no bar is left in the toolbar manager");
    check(!findWindow("ZadeveToolPalette") && !IsWindow(window), "neither the palette nor the form's window is left");
  } catch (const automation::AutomationError& e) {
    check(false, "error " + std::to_string(e.number()) + ": " + e.description());
  }
  return failures == 0 ? 0 : 1;
}
