#include <ostream>

#include "cli/show_window.h"
#include "host/form_picture.h"
#include "platform/win32_windowing.h"

// After our headers: they name the system's constants that windows.h makes macros of.
#include <windows.h>

namespace zadeve::cli {
namespace {

constexpr UINT PollMs = 250;
constexpr int MostLinesShown = 4;

HWND systemHandle(platform::WindowHandle window) { return reinterpret_cast<HWND>(static_cast<intptr_t>(window)); }

// The reports in a read-only edit control across the foot of the free rectangle, there
// only while there is something to read.
class StatusArea {
 public:
  explicit StatusArea(ShowSession& session) : session_(session) {
    edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                            WS_CHILD | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
                            systemHandle(session.form().hWnd()), nullptr, GetModuleHandleA(nullptr), nullptr);
    auto* font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (HDC dc = GetDC(edit_)) {
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRICA metrics{};
      if (GetTextMetricsA(dc, &metrics)) lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
      SelectObject(dc, old);
      ReleaseDC(edit_, dc);
    }
  }
  ~StatusArea() {
    if (IsWindow(edit_)) DestroyWindow(edit_);
  }
  StatusArea(const StatusArea&) = delete;
  StatusArea& operator=(const StatusArea&) = delete;

  void showReports() {
    std::string text;
    for (const auto& line : session_.reports()) text += (text.empty() ? "" : "\r\n") + line;
    SetWindowTextA(edit_, text.c_str());
    ShowScrollBar(edit_, SB_VERT, session_.reports().size() > MostLinesShown);
    place();
  }

  // Follows the free rectangle, which every layout may move.
  void place() {
    if (!IsWindow(edit_)) return;
    const auto& free = session_.form().freeRectangle();
    const int lines = static_cast<int>(std::min<size_t>(session_.reports().size(), MostLinesShown));
    if (lines == 0 || !free) {
      ShowWindow(edit_, SW_HIDE);
      return;
    }
    const auto box = host::freeBox(session_.form(), *free);
    const int height = std::min(box.h, lines * lineHeight_ + 2 * GetSystemMetrics(SM_CYEDGE) + 4);
    RECT now{};
    GetWindowRect(edit_, &now);
    MapWindowPoints(nullptr, GetParent(edit_), reinterpret_cast<POINT*>(&now), 2);
    const RECT wanted{box.x, box.y + box.h - height, box.x + box.w, box.y + box.h};
    if (!EqualRect(&now, &wanted))
      SetWindowPos(edit_, HWND_TOP, wanted.left, wanted.top, box.w, height, SWP_NOACTIVATE);
    ShowWindow(edit_, SW_SHOWNA);
  }

 private:
  ShowSession& session_;
  HWND edit_ = nullptr;
  int lineHeight_ = 13;
};

// What the poll timer does: rebuild a watched view whose files changed, unless the user
// is in a menu or dragging a window, and keep the status area in place.
struct Poll {
  ShowSession& session;
  StatusArea& status;
  Console& console;
  bool watch;
  bool polling = false;

  void tick() noexcept {
    if (polling || session.busy() || !session.form().loaded()) return;
    polling = true;
    try {
      GUITHREADINFO thread{};
      thread.cbSize = sizeof thread;
      const bool userBusy =
          GetGUIThreadInfo(0, &thread) && (thread.flags & (GUI_INMOVESIZE | GUI_INMENUMODE | GUI_POPUPMENUMODE));
      if (watch && !userBusy && session.filesChanged()) {
        session.rebuild();
        console.out << "rebuilt" << std::endl;
      }
      status.place();
    } catch (...) {
      platform::reportUncaughtError();
    }
    polling = false;
  }
};

Poll* currentPoll = nullptr;

void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (currentPoll) currentPoll->tick();
}

}  // namespace

int showOnDesktop(const ShowOptions& options, Console& console) {
  auto desktop = platform::makeWin32Windowing();
  if (!desktop) {
    console.err << "zadeve: show needs a display to open its window on, and this desktop has none "
                   "(under Wine: run it on an X display)\n";
    return ExitFailed;
  }
  ShowSession session(options, desktop);
  StatusArea status(session);
  session.onReportsChanged([&status] { status.showReports(); });
  session.build();
  status.showReports();

  const HWND form = systemHandle(session.form().hWnd());
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  console.out << "shown " << session.form().hWnd() << std::endl;

  Poll poll{session, status, console, options.watch};
  currentPoll = &poll;
  // A close sent from outside is handled inside GetMessage, which would wait on.
  session.form().onUnloaded([] { PostQuitMessage(0); });
  const UINT_PTR timer = SetTimer(nullptr, 0, PollMs, &onTimer);
  MSG message;
  while (session.form().loaded() && GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    status.place();
  }
  KillTimer(nullptr, timer);
  currentPoll = nullptr;
  return ExitOk;
}

}  // namespace zadeve::cli
