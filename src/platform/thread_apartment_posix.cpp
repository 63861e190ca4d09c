#include "platform/thread_apartment.h"

namespace zadeve::platform {

ThreadApartment::ThreadApartment() = default;
ThreadApartment::~ThreadApartment() = default;

}  // namespace zadeve::platform
