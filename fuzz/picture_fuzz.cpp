// Pictures: arbitrary bytes through the decoder, from memory and from a file. Either a
// picture comes out whose size and pixels agree with each other, or error 481 does; the
// file and the memory road give the same answer.

#include <cstdint>
#include <cstdlib>
#include <span>

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

uint32_t readLe(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n && at + i < b.size(); ++i) v |= uint32_t{b[at + i]} << (8 * i);
  return v;
}

uint32_t readBe(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v = v << 8 | (at + i < b.size() ? b[at + i] : 0);
  return v;
}

int64_t area(int64_t w, int64_t h) {
  w = std::abs(w), h = std::abs(h);
  return w > (int64_t{1} << 31) || h > (int64_t{1} << 31) ? INT64_MAX : w * h;
}

// The size a picture's header claims, read without the decoder (which must not see an
// input before the library's own checks have).
int64_t claimedPixels(std::span<const uint8_t> b) {
  if (b.size() < 4) return 0;
  if (b[0] == 'B' && b[1] == 'M') {
    const bool core = readLe(b, 14, 4) == 12;
    const int64_t w = core ? readLe(b, 18, 2) : static_cast<int32_t>(readLe(b, 18, 4));
    const int64_t h = core ? readLe(b, 20, 2) : static_cast<int32_t>(readLe(b, 22, 4));
    return area(w, h);
  }
  if (b[0] == 0x89) return area(readBe(b, 16, 4), readBe(b, 20, 4));
  if (b[0] == 'G') return area(readLe(b, 6, 2), readLe(b, 8, 2));
  // JPEG: the first frame header (SOF0 to SOF15, less DHT, JPG and DAC) gives the size.
  for (size_t i = 0; i + 8 < b.size(); ++i) {
    const uint8_t m = b[i + 1];
    if (b[i] == 0xFF && m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC)
      return area(readBe(b, i + 5, 2), readBe(b, i + 7, 2));
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Headers may claim up to 32 M pixels, which the decoder then fills: a second or more per
  // input, spent on the same code as a small picture. Those are left to the unit tests.
  if (claimedPixels({data, size}) > (int64_t{1} << 20)) return -1;
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
