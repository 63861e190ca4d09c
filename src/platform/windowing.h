#pragma once
// What forms need of the windowing system, in one interface, so tests and the command-line
// tool run on a deterministic headless window manager (headless_windowing.h) while a
// Windows build uses the real one: modal message boxes and the beep, the screen's twips per
// pixel, top-level windows with their geometry, caption, owner and close box, a hook that
// sees a window's messages before the window does, pop-up menus, and the system's
// "drag full windows" setting.
//
// Window geometry is in screen pixels, as the system keeps it; forms convert to twips.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zadeve::platform {

enum class MessageBoxButtons { Ok, OkCancel, YesNo };
enum class MessageBoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

using WindowHandle = int32_t;  // 0: no window

inline constexpr int32_t GWL_HWNDPARENT = -8;
inline constexpr uint32_t SPI_GETDRAGFULLWINDOWS = 0x26;
inline constexpr uint32_t SPI_SETDRAGFULLWINDOWS = 0x25;
inline constexpr int32_t WM_SIZING = 0x214;

// The edge being dragged, as WM_SIZING's first parameter gives it.
namespace wmsz {
inline constexpr int32_t Left = 1, Right = 2, Top = 3, TopLeft = 4, TopRight = 5, Bottom = 6,
                         BottomLeft = 7, BottomRight = 8;
}

// The system's RECT: screen pixels, right and bottom exclusive.
struct PixelRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// What a client paints into its window: rows top first, each pixel 0x00RRGGBB.
struct WindowPixels {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;
};

// The form behind a window hears what happens to the window.
class WindowClient {
 public:
  // The outer size changed (a move, the user's sizing, or the first time it is shown).
  virtual void windowResized() = 0;
  // The user pressed the close box.
  virtual void windowCloseRequested() = 0;
  // A watched window (watchWindow) is being destroyed by its owner.
  virtual void windowDestroyed() {}
  // A form window's client area needs painting: fill `into`, or leave it empty for the
  // system's face colour.
  virtual void paintWindow(WindowPixels& into) { (void)into; }

 protected:
  ~WindowClient() = default;
};

// Sees a window's messages before the window processes them (a message hook).
class MessageListener {
 public:
  // `result` is what the window answers the system.
  virtual void windowMessage(WindowHandle window, int32_t message, int32_t wParam, int32_t lParam,
                             int32_t& result) = 0;

 protected:
  ~MessageListener() = default;
};

class Windowing {
 public:
  virtual ~Windowing() = default;
  // Modal: returns when the user has answered.
  virtual MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                                      const std::string& title) = 0;
  virtual void beep() = 0;
  virtual double twipsPerPixelX() const = 0;
  virtual double twipsPerPixelY() const = 0;

  // A sizable top-level window with a caption and a close box, hidden until shown: a tool
  // window, as palettes are.
  virtual WindowHandle createWindow(WindowClient& client, const PixelRect& outer) = 0;
  // A host form's window: an application window at the screen's top-left corner with
  // exactly this client area (pixels), painted by the client (paintWindow), hidden until
  // shown.
  virtual WindowHandle createFormWindow(WindowClient& client, int32_t clientWidth, int32_t clientHeight) = 0;
  // Gives a window exactly this client area; its top-left corner stays.
  virtual void setClientSize(WindowHandle window, int32_t clientWidth, int32_t clientHeight) = 0;
  // The client area of a form window is painted again soon.
  virtual void invalidate(WindowHandle window) = 0;
  // Hears a window that a host made (not by this service): the client's resize event when
  // its size changed, windowDestroyed as it goes. Nothing is painted there. Nullptr stops.
  virtual void watchWindow(WindowHandle window, WindowClient* client) = 0;
  // Unknown handles are ignored: a window may already be gone.
  virtual void destroyWindow(WindowHandle window) noexcept = 0;
  virtual bool isWindow(WindowHandle window) const = 0;
  // The calls below raise 5 for a handle that names no window.
  virtual PixelRect windowRect(WindowHandle window) const = 0;
  // The client area's size in pixels (what the frame and caption leave).
  virtual PixelRect clientRect(WindowHandle window) const = 0;
  // Raises the client's resize event when the size changed.
  virtual void moveWindow(WindowHandle window, const PixelRect& outer) = 0;
  virtual void setCaption(WindowHandle window, const std::string& caption) = 0;
  virtual std::string caption(WindowHandle window) const = 0;
  // Not modal; the first show raises the resize event.
  virtual void showWindow(WindowHandle window) = 0;
  virtual bool isVisible(WindowHandle window) const = 0;
  // GWL_HWNDPARENT only: the owner window. Set returns the previous value.
  virtual int32_t getWindowLong(WindowHandle window, int32_t index) const = 0;
  virtual int32_t setWindowLong(WindowHandle window, int32_t index, int32_t value) = 0;
  // One listener per window; nullptr removes it.
  virtual void setMessageListener(WindowHandle window, MessageListener* listener) = 0;

  // Shows a pop-up menu at the mouse position and waits until it closes: the index of the
  // item picked, or -1 when the menu was dismissed.
  virtual int32_t popupMenu(WindowHandle owner, const std::vector<std::string>& items) = 0;

  // SystemParametersInfo: SPI_GETDRAGFULLWINDOWS writes a 32-bit flag to `pvParam`.
  // False for an action it does not know.
  virtual bool systemParametersInfo(uint32_t action, uint32_t param, void* pvParam, uint32_t winIni) = 0;
};

// The process's windowing service; the system's own (system_windowing.h) until one is installed.
Windowing& windowing();
// Installs a service (nullptr restores the system's own); returns the previous.
std::shared_ptr<Windowing> installWindowing(std::shared_ptr<Windowing> service);

}  // namespace zadeve::platform
