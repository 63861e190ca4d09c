#pragma once
// A deterministic window manager with no display. Message boxes are recorded (the latest
// few) and answered at once with the first button; the beep is counted. Windows have fixed
// frames (a border of FramePixels on every side and a caption of CaptionPixels; no window
// is smaller than them), stack in the order they were last shown, and never move unless
// asked to.
//
// Tests and the command-line tool act as the user through the members below "The user":
// press a close box, drag an edge, answer the next pop-up menu, change the dragging setting.
//
// Sizing loop (dragEdge), for each proposed rectangle of the drag:
//   the window's message listener sees WM_SIZING(edge, address of the rectangle)
//     and may correct the rectangle in place (GetRECT / SetRECT)
//   full-window dragging: the window takes the corrected rectangle at once
//                         (the client's resize event runs when the size changed)
//   outline dragging:     only the last corrected rectangle is taken, when the drag ends

#include <algorithm>
#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/windowing.h"

namespace zadeve::platform {

// How many message boxes and pop-up menus a screen keeps a record of. A host may run for
// days and show them without end; readers only look at the latest ones.
inline constexpr size_t ShownRecordsKept = 32;

// The last ShownRecordsKept records of one kind, and how many there were in all, so a
// reader can note the count before a call and ask for what came after it.
template <class T>
class ShownRecords {
 public:
  void add(T record) {
    if (kept_.size() == ShownRecordsKept) kept_.pop_front();
    kept_.push_back(std::move(record));
    ++shown_;
  }
  void clear() { kept_.clear(); }
  const std::deque<T>& kept() const { return kept_; }
  size_t shown() const { return shown_; }
  // Those shown after the first `shownBefore`, as far as they are still kept.
  std::vector<T> since(size_t shownBefore) const {
    const size_t newer = std::min(shown_ - std::min(shownBefore, shown_), kept_.size());
    return {kept_.end() - static_cast<std::ptrdiff_t>(newer), kept_.end()};
  }

 private:
  std::deque<T> kept_;
  size_t shown_ = 0;
};

class HeadlessWindowing : public Windowing {
 public:
  static constexpr int32_t FramePixels = 4;
  static constexpr int32_t CaptionPixels = 18;
  static constexpr int32_t ScreenWidth = 1280;
  static constexpr int32_t ScreenHeight = 1024;

  struct ShownMessage {
    std::string text;
    MessageBoxButtons buttons;
    std::string title;
  };
  struct ShownMenu {
    WindowHandle owner;
    std::vector<std::string> items;
    int32_t picked;
  };
  struct Window {
    WindowHandle handle = 0;
    PixelRect rect;
    std::string caption;
    bool visible = false;
    bool shownBefore = false;
    WindowHandle owner = 0;
    WindowClient* client = nullptr;
    MessageListener* listener = nullptr;
    WindowClient* watcher = nullptr;
    int paintsAsked = 0;
  };

  explicit HeadlessWindowing(double twipsPerPixel = 15) : twipsX_(twipsPerPixel), twipsY_(twipsPerPixel) {}

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                              const std::string& title) override;
  void beep() override { ++beeps_; }
  double twipsPerPixelX() const override { return twipsX_; }
  double twipsPerPixelY() const override { return twipsY_; }

  WindowHandle createWindow(WindowClient& client, const PixelRect& outer) override;
  WindowHandle createFormWindow(WindowClient& client, int32_t clientWidth, int32_t clientHeight) override;
  void setClientSize(WindowHandle window, int32_t clientWidth, int32_t clientHeight) override;
  void invalidate(WindowHandle window) override { ++get(window).paintsAsked; }
  // A window of this screen stands in for a host's: the watcher hears it too.
  void watchWindow(WindowHandle window, WindowClient* client) override { get(window).watcher = client; }
  void destroyWindow(WindowHandle window) noexcept override;
  bool isWindow(WindowHandle window) const override { return windows_.count(window) != 0; }
  PixelRect windowRect(WindowHandle window) const override { return get(window).rect; }
  PixelRect clientRect(WindowHandle window) const override;
  // Where the client area of a window with this outer rectangle lies on the screen.
  static PixelRect clientOnScreen(const PixelRect& outer);
  // The outer rectangle whose client area is `client`.
  static PixelRect outerAround(const PixelRect& client);
  void moveWindow(WindowHandle window, const PixelRect& outer) override;
  void setCaption(WindowHandle window, const std::string& caption) override { get(window).caption = caption; }
  std::string caption(WindowHandle window) const override { return get(window).caption; }
  void showWindow(WindowHandle window) override;
  bool isVisible(WindowHandle window) const override { return get(window).visible; }
  int32_t getWindowLong(WindowHandle window, int32_t index) const override;
  int32_t setWindowLong(WindowHandle window, int32_t index, int32_t value) override;
  void setMessageListener(WindowHandle window, MessageListener* listener) override;
  int32_t popupMenu(WindowHandle owner, const std::vector<std::string>& items) override;
  bool systemParametersInfo(uint32_t action, uint32_t param, void* pvParam, uint32_t winIni) override;

  // --- The user.
  void pressCloseBox(WindowHandle window);
  // Drags `edge` (wmsz codes) through the proposed rectangles, as the system's sizing loop.
  void dragEdge(WindowHandle window, int32_t edge, const std::vector<PixelRect>& proposed);
  // The next pop-up menu picks the item with this caption (dismissed when it has none).
  void pickInNextMenu(std::string caption) { menuAnswers_.push_back(std::move(caption)); }
  void setDragFullWindows(bool full) { dragFullWindows_ = full; }

  // --- What the screen shows.
  void setTwipsPerPixel(double x, double y) { twipsX_ = x, twipsY_ = y; }
  // The latest message boxes and menus (ShownRecordsKept at most), oldest first.
  const std::deque<ShownMessage>& messages() const { return messages_.kept(); }
  size_t messagesShown() const { return messages_.shown(); }
  std::vector<ShownMessage> messagesSince(size_t shownBefore) const { return messages_.since(shownBefore); }
  void clearMessages() { messages_.clear(); }
  int beeps() const { return beeps_; }
  const std::deque<ShownMenu>& menus() const { return menus_.kept(); }
  // Bottom to top.
  const std::vector<WindowHandle>& stacking() const { return stacking_; }
  const Window& window(WindowHandle window) const { return get(window); }

 protected:
  // A window that is not ours but may own ours: none on a headless screen; the host's
  // windows when the library runs inside a desktop host.
  virtual bool isForeignWindow(WindowHandle) const { return false; }

 private:
  Window& get(WindowHandle window);
  const Window& get(WindowHandle window) const;

  double twipsX_, twipsY_;
  ShownRecords<ShownMessage> messages_;
  int beeps_ = 0;
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> stacking_;
  std::vector<std::string> menuAnswers_;
  ShownRecords<ShownMenu> menus_;
  bool dragFullWindows_ = true;
};

}  // namespace zadeve::platform
