#include "platform/image_decoder.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void* zeroedAlloc(size_t size) { return std::calloc(1, size); }

void* zeroedRealloc(void* old, size_t oldSize, size_t newSize) {
  void* grown = std::calloc(1, newSize);
  if (grown == nullptr) return nullptr;
  if (old != nullptr) {
    std::memcpy(grown, old, oldSize < newSize ? oldSize : newSize);
    std::free(old);
  }
  return grown;
}

}  // namespace

// The decoder reads tables and palettes that a damaged file never filled (JPEG Huffman
// tables a scan names but no segment defines, for one); zeroed memory keeps that from
// showing old memory. Its other formats are the least tried against damaged files, and a
// file with no signature (TGA) could be anything. Everything stays private to this file,
// so the system's copy of the library, which the toolbar's fonts still use, cannot clash.
#define STBI_MALLOC(size) zeroedAlloc(size)
#define STBI_REALLOC_SIZED(p, oldSize, newSize) zeroedRealloc(p, oldSize, newSize)
#define STBI_FREE(p) std::free(p)
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace zadeve::platform::decoder {
namespace {

int lengthOf(std::span<const uint8_t> bytes) {
  return bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                             : static_cast<int>(bytes.size());
}

std::string reason() {
  const char* why = stbi_failure_reason();
  return why ? why : "";
}

}  // namespace

bool info(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
  int channels = 0;
  if (stbi_info_from_memory(bytes.data(), lengthOf(bytes), &width, &height, &channels)) return true;
  why = reason();
  return false;
}

std::vector<uint8_t> decodeRgba(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
  int channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), lengthOf(bytes), &width, &height, &channels, 4);
  if (pixels == nullptr) {
    why = reason();
    return {};
  }
  const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  std::vector<uint8_t> rgba(pixels, pixels + size);
  stbi_image_free(pixels);
  return rgba;
}

}  // namespace zadeve::platform::decoder
