#pragma once
// What a program that hosts the library sets up for its thread before anything else: on
// Windows the single-threaded COM apartment in which the imaging component decodes PNG
// and JPEG pictures and windows are made (a DLL's host has set up its own); elsewhere
// nothing.

namespace zadeve::platform {

class ThreadApartment {
 public:
  ThreadApartment();
  ~ThreadApartment();
  ThreadApartment(const ThreadApartment&) = delete;
  ThreadApartment& operator=(const ThreadApartment&) = delete;

 private:
  bool entered_ = false;
};

}  // namespace zadeve::platform
