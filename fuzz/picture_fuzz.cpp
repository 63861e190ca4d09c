// Pictures: arbitrary bytes through the decoder, from memory and from a file. Either a
// picture comes out whose size and pixels agree with each other, or error 481 does; the
// file and the memory road give the same answer.

#include <stb_image.h>

#include "automation/dispatch.h"
#include "automation/error.h"
#include "fuzz_support.h"
#include "platform/picture.h"

using namespace zadeve;

namespace {

struct Outcome {
  automation::Ref<platform::Picture> picture;
  int32_t error = 0;
};

template <class Load>
Outcome attempt(Load load) {
  try {
    return {load(), 0};
  } catch (const automation::AutomationError& e) {
    return {nullptr, e.number()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Headers may claim up to 32 M pixels, which the decoder then fills: a second or more per
  // input, spent on the same code as a small picture. Those are left to the unit tests.
  int w = 0, h = 0, channels = 0;
  if (stbi_info_from_memory(data, static_cast<int>(size), &w, &h, &channels) &&
      std::abs(int64_t{w} * h) > (int64_t{1} << 20))
    return -1;
  const Outcome memory = attempt([&] { return platform::decodePicture({data, size}, "fuzz.bmp"); });
  if (memory.picture) {
    const platform::Picture& p = *memory.picture;
    FUZZ_CHECK(p.width() > 0 && p.height() > 0, "a picture without size");
    FUZZ_CHECK(p.rgba().size() == size_t(p.width()) * size_t(p.height()) * 4, "pixels do not match the size");
    FUZZ_CHECK(automation::getProperty(*memory.picture, "Width") == automation::Variant(int32_t{p.width()}),
               "Width differs from the picture's width");
    FUZZ_CHECK(automation::getProperty(*memory.picture, "Height") == automation::Variant(int32_t{p.height()}),
               "Height differs from the picture's height");
  } else {
    FUZZ_CHECK(memory.error == automation::err::InvalidPicture, "a refusal that is not 481");
  }

  const std::string path = fuzz::ScratchFolder::instance().write(
      "fuzz.bmp", std::string_view(reinterpret_cast<const char*>(data), size));
  const Outcome file = attempt([&] { return platform::loadPicture(path); });
  FUZZ_CHECK(file.error == memory.error, "the file and the memory road disagree");
  if (file.picture) {
    FUZZ_CHECK(file.picture->width() == memory.picture->width() && file.picture->height() == memory.picture->height(),
               "the file and the memory road give different sizes");
    FUZZ_CHECK(std::equal(file.picture->rgba().begin(), file.picture->rgba().end(), memory.picture->rgba().begin()),
               "the file and the memory road give different pixels");
  }
  return 0;
}
