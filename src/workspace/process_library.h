#pragma once
// The one library object through which every workspace runs its calls. It is created by
// the first proxy call in the process and is never one of the host's own library objects,
// so a host's library never sees a workspace's fields.

#include "core/zuzuzud_library.h"

namespace zadeve::workspace {

// The process-wide library object, created on first use.
automation::Ref<core::ZuzuzudLibrary> processLibrary();

}  // namespace zadeve::workspace
