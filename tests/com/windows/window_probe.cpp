// Looks at another program's windows from outside, for the window stories' scripts, and
// acts on them as the system would. Handles are decimal; rectangles are screen pixels,
// "L T W H". One line a window:
//   window_probe windows CLASS [PID]   top-level windows of CLASS ("*": any), of process PID
//     window HWND class CLASS outer L T W H client L T W H visible 0|1 iconic 0|1 owner HWND pid PID
//       style STYLE exstyle EXSTYLE caption TEXT
//   window_probe children HWND         its direct child windows, front to back
//     child HWND CLASS L T W H visible 0|1 text TEXT
//   window_probe points HWND           where the user grabs it
//     corner X Y (the bottom-right sizing corner), minimize X Y (the caption's box)
//   window_probe restore HWND          as the task bar does: WM_SYSCOMMAND
//   window_probe close HWND            posts WM_CLOSE
// Exit status 2 for a usage error or a handle that is no window.

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windows.h>

namespace {

HWND handle(const char* text) { return reinterpret_cast<HWND>(static_cast<intptr_t>(std::strtoll(text, nullptr, 10))); }
long long number(HWND h) { return static_cast<long long>(reinterpret_cast<intptr_t>(h)); }

std::string box(const RECT& r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
         std::to_string(r.bottom - r.top);
}

// The window's text as its own thread answers WM_GETTEXT (an edit control's content, not
// only its creation text); line breaks shown as " | ". Empty when the window is busy.
std::string text(HWND h) {
  char buffer[2048] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 2000, &got))
    return "";
  std::string out;
  for (const char* p = buffer; *p; ++p) {
    if (*p == '\r') continue;
    out += *p == '\n' ? std::string(" | ") : std::string(1, *p);
  }
  return out;
}

struct Wanted {
  std::string cls;
  DWORD pid = 0;
};

BOOL CALLBACK listWindow(HWND h, LPARAM l) {
  const auto& wanted = *reinterpret_cast<const Wanted*>(l);
  char cls[256] = {};
  GetClassNameA(h, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if ((wanted.cls != "*" && wanted.cls != cls) || (wanted.pid && wanted.pid != pid)) return TRUE;
  RECT outer{}, client{};
  GetWindowRect(h, &outer);
  GetClientRect(h, &client);
  POINT origin{0, 0};
  ClientToScreen(h, &origin);
  OffsetRect(&client, origin.x, origin.y);
  std::printf("window %lld class %s outer %s client %s visible %d iconic %d owner %lld pid %lu style %lu exstyle %lu "
              "caption %s\n",
              number(h), cls, box(outer).c_str(), box(client).c_str(), IsWindowVisible(h) ? 1 : 0, IsIconic(h) ? 1 : 0,
              number(GetWindow(h, GW_OWNER)), pid, static_cast<unsigned long>(GetWindowLongA(h, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongA(h, GWL_EXSTYLE)), text(h).c_str());
  return TRUE;
}

void listChildren(HWND parent) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[256] = {};
    GetClassNameA(c, cls, sizeof cls);
    RECT r{};
    GetWindowRect(c, &r);
    std::printf("child %lld %s %s visible %d text %s\n", number(c), cls, box(r).c_str(), IsWindowVisible(c) ? 1 : 0,
                text(c).c_str());
  }
}

// The first point, walking in from `from` by `step`, that the window's own hit test
// calls `hit`: where a press really grabs what the user means.
bool walkTo(HWND h, POINT from, POINT step, LRESULT hit, POINT& at) {
  for (int i = 0; i < 80; ++i) {
    const POINT p{from.x + i * step.x, from.y + i * step.y};
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutA(h, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y), SMTO_ABORTIFHUNG, 2000, &answer) &&
        static_cast<LRESULT>(answer) == hit) {
      at = p;
      return true;
    }
  }
  return false;
}

void points(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  POINT at{};
  if (walkTo(h, {r.right - 1, r.bottom - 1}, {-1, -1}, HTBOTTOMRIGHT, at)) std::printf("corner %ld %ld\n", at.x, at.y);
  const LONG row = r.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  if (walkTo(h, {r.right - GetSystemMetrics(SM_CXFRAME) - 1, row}, {-1, 0}, HTMINBUTTON, at))
    std::printf("minimize %ld %ld\n", at.x, at.y);
}

int usage() {
  std::fprintf(stderr, "usage: window_probe windows CLASS [PID] | children|points|restore|close HWND\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string command = argv[1];
  if (command == "windows") {
    Wanted wanted{argv[2], argc > 3 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 0};
    EnumWindows(&listWindow, reinterpret_cast<LPARAM>(&wanted));
    return 0;
  }
  HWND h = handle(argv[2]);
  if (!IsWindow(h)) {
    std::fprintf(stderr, "window_probe: %s is no window\n", argv[2]);
    return 2;
  }
  if (command == "children")
    listChildren(h);
  else if (command == "points")
    points(h);
  else if (command == "restore")
    // Not ShowWindow: the system shows a window's owned windows again on this path.
    PostMessageA(h, WM_SYSCOMMAND, SC_RESTORE, 0);
  else if (command == "close")
    PostMessageA(h, WM_CLOSE, 0, 0);
  else
    return usage();
  std::fflush(stdout);
  return 0;
}
