#include "platform/headless_windowing.h"

#include <algorithm>
#include <utility>
#include <cstring>

#include "automation/error.h"
#include "platform/zeduvu.h"

namespace zadeve::platform {
namespace {

// Handles are unique across every headless screen of the process, so a form that outlives
// the screen it was made on can never reach another screen's window.
WindowHandle nextHandle() {
  static WindowHandle next = 0x100;
  return next += 4;
}

// The system keeps a captioned window at least as large as its frame and caption, so the
// frame's share of the outer size never changes.
PixelRect atLeastTheFrame(PixelRect r) {
  r.right = std::max(r.right, r.left + 2 * HeadlessWindowing::FramePixels);
  r.bottom = std::max(r.bottom, r.top + 2 * HeadlessWindowing::FramePixels + HeadlessWindowing::CaptionPixels);
  return r;
}

}  // namespace

MessageBoxResult HeadlessWindowing::messageBox(const std::string& text, MessageBoxButtons buttons,
                                               const std::string& title) {
  messages_.add({text, buttons, title});
  return buttons == MessageBoxButtons::YesNo ? MessageBoxResult::Yes : MessageBoxResult::Ok;
}

HeadlessWindowing::Window& HeadlessWindowing::get(WindowHandle window) {
  return const_cast<Window&>(static_cast<const HeadlessWindowing&>(*this).get(window));
}

const HeadlessWindowing::Window& HeadlessWindowing::get(WindowHandle window) const {
  auto it = windows_.find(window);
  if (it == windows_.end())
    automation::raise(automation::err::InvalidCall, "No window has the handle " + std::to_string(window));
  return it->second;
}

WindowHandle HeadlessWindowing::createWindow(WindowClient& client, const PixelRect& outer) {
  Window w;
  w.handle = nextHandle();
  w.rect = atLeastTheFrame(outer);
  w.client = &client;
  windows_[w.handle] = w;
  stacking_.push_back(w.handle);
  return w.handle;
}

WindowHandle HeadlessWindowing::createFormWindow(WindowClient& client, int32_t clientWidth, int32_t clientHeight) {
  return createWindow(client, outerAround({0, 0, clientWidth, clientHeight}));
}

void HeadlessWindowing::setClientSize(WindowHandle window, int32_t clientWidth, int32_t clientHeight) {
  const PixelRect at = get(window).rect;
  moveWindow(window, outerAround({at.left, at.top, at.left + clientWidth, at.top + clientHeight}));
}

void HeadlessWindowing::destroyWindow(WindowHandle window) noexcept {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  WindowClient* watcher = it->second.watcher;
  windows_.erase(it);
  stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
  // Owned windows lose their owner, as the system leaves them.
  for (auto& [handle, w] : windows_)
    if (w.owner == window) w.owner = 0;
  if (watcher) {
    try {
      watcher->windowDestroyed();
    } catch (...) {
      // The system's destruction goes on whatever the watcher's handler raised.
    }
  }
}

PixelRect HeadlessWindowing::clientOnScreen(const PixelRect& outer) {
  return {outer.left + FramePixels, outer.top + FramePixels + CaptionPixels, outer.right - FramePixels,
          outer.bottom - FramePixels};
}

PixelRect HeadlessWindowing::outerAround(const PixelRect& client) {
  return {client.left, client.top, client.right + 2 * FramePixels, client.bottom + 2 * FramePixels + CaptionPixels};
}

PixelRect HeadlessWindowing::clientRect(WindowHandle window) const {
  const PixelRect client = clientOnScreen(get(window).rect);
  return {0, 0, client.width(), client.height()};
}

void HeadlessWindowing::moveWindow(WindowHandle window, const PixelRect& outer) {
  Window& w = get(window);
  const PixelRect rect = atLeastTheFrame(outer);
  const bool resized = w.rect.width() != rect.width() || w.rect.height() != rect.height();
  w.rect = rect;
  if (!resized) return;
  // The client may unload the window from its handler: nothing of `w` is used after it.
  WindowClient* watcher = w.watcher;
  w.client->windowResized();
  if (watcher && isWindow(window) && get(window).watcher == watcher) watcher->windowResized();
}

void HeadlessWindowing::showWindow(WindowHandle window) {
  Window& w = get(window);
  w.visible = true;
  stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
  stacking_.push_back(window);
  if (!std::exchange(w.shownBefore, true)) w.client->windowResized();
}

int32_t HeadlessWindowing::getWindowLong(WindowHandle window, int32_t index) const {
  const Window& w = get(window);
  if (index != GWL_HWNDPARENT)
    automation::raise(automation::err::InvalidCall, "The headless screen keeps no window long " + std::to_string(index));
  return w.owner;
}

int32_t HeadlessWindowing::setWindowLong(WindowHandle window, int32_t index, int32_t value) {
  const int32_t previous = getWindowLong(window, index);
  if (value != 0 && !isWindow(value) && !isForeignWindow(value))
    automation::raise(automation::err::InvalidCall, "No window has the handle " + std::to_string(value));
  get(window).owner = value;
  return previous;
}

void HeadlessWindowing::setMessageListener(WindowHandle window, MessageListener* listener) {
  get(window).listener = listener;
}

int32_t HeadlessWindowing::popupMenu(WindowHandle owner, const std::vector<std::string>& items) {
  int32_t picked = -1;
  if (!menuAnswers_.empty()) {
    auto it = std::find(items.begin(), items.end(), menuAnswers_.front());
    if (it != items.end()) picked = static_cast<int32_t>(it - items.begin());
    menuAnswers_.erase(menuAnswers_.begin());
  }
  menus_.add({owner, items, picked});
  return picked;
}

bool HeadlessWindowing::systemParametersInfo(uint32_t action, uint32_t param, void* pvParam, uint32_t) {
  if (action == SPI_GETDRAGFULLWINDOWS && pvParam) {
    const int32_t flag = dragFullWindows_ ? 1 : 0;
    std::memcpy(pvParam, &flag, sizeof flag);
    return true;
  }
  if (action == SPI_SETDRAGFULLWINDOWS) {
    dragFullWindows_ = param != 0;
    return true;
  }
  return false;
}

void HeadlessWindowing::pressCloseBox(WindowHandle window) { get(window).client->windowCloseRequested(); }

void HeadlessWindowing::dragEdge(WindowHandle window, int32_t edge, const std::vector<PixelRect>& proposed) {
  // Sampled once, as the system does when the drag starts.
  const bool full = dragFullWindows_;
  PixelRect last = get(window).rect;
  for (PixelRect rect : proposed) {
    if (MessageListener* listener = get(window).listener) {
      LentRect lent(rect);
      int32_t result = 0;
      listener->windowMessage(window, WM_SIZING, edge, lent.address(), result);
    }
    if (!isWindow(window)) return;
    if (full)
      moveWindow(window, rect);
    else
      last = rect;
    if (!isWindow(window)) return;
  }
  if (!full) moveWindow(window, last);
}

}  // namespace zadeve::platform
