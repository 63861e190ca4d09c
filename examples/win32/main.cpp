// diagram_win32 [FOLDER]: a Win32 program with a plain main window of its own class, on
// which the library shows the bars of the diagram editor's DiagramView (FOLDER holds its
// BARS.INI and bitmaps; default examples\diagram\). The bars follow the window's size; the
// program paints its document into the area they leave free. Closing the window unloads
// the bars and ends the program.
//
// On standard output, for scripts that drive it: "shown HWND X Y W H" once the window is
// up (its client area on the screen, pixels), then "size W H" after each change of size.

#include <zadeve/win32_host.h>

#include <cstdio>
#include <memory>
#include <string>

#include <windows.h>

namespace {

std::unique_ptr<zadeve::win32::HostForm> bars;

// The document: white, where the bars leave room.
void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_APPWORKSPACE));
  if (bars) {
    RECT free = bars->freeArea();
    FillRect(dc, &free, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: paint(window); return 0;
    case WM_SIZE:  // the bars are laid out already
      InvalidateRect(window, nullptr, TRUE);
      if (bars) std::printf("size %d %d\n", LOWORD(lParam), HIWORD(lParam)), std::fflush(stdout);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND makeWindow(int clientWidth, int clientHeight) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "DiagramWindow";
  RegisterClassA(&wc);
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;  // the bars are child windows
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&outer, style, FALSE);
  return CreateWindowA("DiagramWindow", "Diagram", style, 0, 0, outer.right - outer.left,
                       outer.bottom - outer.top, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "examples\\diagram\\";
  HWND window = makeWindow(800, 600);
  if (!window) {
    std::fprintf(stderr, "diagram_win32: no window (is there a display?)\n");
    return 1;
  }
  try {
    // The library's part: the bars of a view on this window, laid out on every resize.
    bars = std::make_unique<zadeve::win32::HostForm>(window, zadeve::win32::Settings{folder + "BARS.INI"});
    bars->setup("DiagramView");
  } catch (const zadeve::automation::AutomationError& e) {
    std::fprintf(stderr, "diagram_win32: error %d: %s\n", static_cast<int>(e.number()), e.description().c_str());
    return 1;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  POINT origin{0, 0};
  RECT client{};
  ClientToScreen(window, &origin);
  GetClientRect(window, &client);
  std::printf("shown %ld %ld %ld %ld %ld\n", static_cast<long>(reinterpret_cast<intptr_t>(window)), origin.x,
              origin.y, client.right, client.bottom);
  std::fflush(stdout);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  bars.reset();  // unloaded with the window already; the library goes
  return 0;
}
