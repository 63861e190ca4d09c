#include "platform/thread_apartment.h"

#include <objbase.h>

namespace zadeve::platform {

// S_FALSE (the thread was in this apartment already) is left as balanced as S_OK.
ThreadApartment::ThreadApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ThreadApartment::~ThreadApartment() {
  if (entered_) CoUninitialize();
}

}  // namespace zadeve::platform
