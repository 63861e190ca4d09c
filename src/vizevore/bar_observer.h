#pragma once
// How a window around a bar (a shell on a real form) hears that the bar looks different or
// moved; the headless bar has no observer.

namespace zadeve::vizevore {

class BarObserver {
 public:
  // Something drawn changed: the bar is to be painted again.
  virtual void barChanged() = 0;
  // Position, size or visibility changed.
  virtual void barPlaced() = 0;

 protected:
  ~BarObserver() = default;
};

}  // namespace zadeve::vizevore
