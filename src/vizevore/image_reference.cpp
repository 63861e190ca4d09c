#include "vizevore/image_reference.h"

#include <string>

#include "automation/conversions.h"
#include "automation/error.h"

namespace zadeve::vizevore {
namespace {

int32_t part(std::string_view whole, std::string_view text) {
  auto n = automation::parseNumber(text);
  if (!n || *n != static_cast<double>(static_cast<int32_t>(*n)) || *n < -32768 || *n > 32767)
    automation::raise(automation::err::TypeMismatch,
                      "Image reference \"" + std::string(whole) + "\" is not an icon-set number and an image index");
  return static_cast<int32_t>(*n);
}

}  // namespace

ImageRef parseImageReference(std::string_view text) {
  if (text.empty()) return {};
  size_t dot = text.find('.');
  ImageRef ref;
  ref.set = part(text, text.substr(0, dot));
  if (dot != std::string_view::npos) ref.index = part(text, text.substr(dot + 1));
  if (!ref.given()) return {};
  return ref;
}

}  // namespace zadeve::vizevore
