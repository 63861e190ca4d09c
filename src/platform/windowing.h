#pragma once
// What the library needs of the windowing system. One interface, so tests and the
// command-line tool run on a deterministic headless implementation while a Windows
// build uses the real one. For now: modal message boxes, the beep and the screen's
// twips per pixel; windows, sizing and menus join it with the palettes.

#include <memory>
#include <string>
#include <vector>

namespace zadeve::platform {

enum class MessageBoxButtons { Ok, OkCancel, YesNo };
enum class MessageBoxResult { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class Windowing {
 public:
  virtual ~Windowing() = default;
  // Modal: returns when the user has answered.
  virtual MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                                      const std::string& title) = 0;
  virtual void beep() = 0;
  virtual double twipsPerPixelX() const = 0;
  virtual double twipsPerPixelY() const = 0;
};

// A deterministic screen with no display: message boxes are recorded and answered at
// once with the first button; the beep is counted.
class HeadlessWindowing : public Windowing {
 public:
  struct ShownMessage {
    std::string text;
    MessageBoxButtons buttons;
    std::string title;
  };

  explicit HeadlessWindowing(double twipsPerPixel = 15) : twipsX_(twipsPerPixel), twipsY_(twipsPerPixel) {}

  MessageBoxResult messageBox(const std::string& text, MessageBoxButtons buttons,
                              const std::string& title) override;
  void beep() override { ++beeps_; }
  double twipsPerPixelX() const override { return twipsX_; }
  double twipsPerPixelY() const override { return twipsY_; }

  void setTwipsPerPixel(double x, double y) { twipsX_ = x, twipsY_ = y; }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  void clearMessages() { messages_.clear(); }
  int beeps() const { return beeps_; }

 private:
  double twipsX_, twipsY_;
  std::vector<ShownMessage> messages_;
  int beeps_ = 0;
};

// The process's windowing service; a HeadlessWindowing until one is installed.
Windowing& windowing();
// Installs a service (nullptr restores the default headless one); returns the previous.
std::shared_ptr<Windowing> installWindowing(std::shared_ptr<Windowing> service);

}  // namespace zadeve::platform
