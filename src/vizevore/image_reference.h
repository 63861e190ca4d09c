#pragma once
// The image reference a bar builder passes with a button: icon-set number, ".", image
// index ("2.5"; "-1.-1" or "" for none).

#include <string_view>

#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

// A missing index ("3") or a negative part means no image. Text that is not two numbers
// raises 13.
ImageRef parseImageReference(std::string_view text);

}  // namespace zadeve::vizevore
