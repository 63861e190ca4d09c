#include "platform/picture.h"

#include <stb_image.h>

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/full_palette.h"
#include "platform/jpeg_check.h"

namespace zadeve::platform {

using automation::CallArgs;
using automation::InvokeKind;
using automation::MemberTable;
using automation::Ref;
using automation::Variant;
using automation::VarType;
namespace err = automation::err;

namespace {

// Pictures here are icon strips and small host drawings; anything near these limits is a
// damaged header, and refusing it early keeps a bad file from costing gigabytes.
constexpr std::uintmax_t MaxFileBytes = 64u << 20;
constexpr int64_t MaxPixels = int64_t{1} << 25;

[[noreturn]] void invalidPicture(std::string_view name, std::string_view why) {
  std::string text = "Invalid picture: " + std::string(name);
  if (!why.empty()) text += " (" + std::string(why) + ")";
  automation::raise(err::InvalidPicture, std::move(text));
}

uint32_t readLe(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= uint32_t{b[at + i]} << (8 * i);
  return v;
}

// What the decoder lets through in a BMP header. It pads pixel rows that run past the end
// of the file with black instead of failing, so a cut-off icon strip would load as a
// half-black one; uncompressed BMPs state exactly how many bytes their rows need.
void checkBmpHeader(std::span<const uint8_t> b, std::string_view name) {
  if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') return;
  if (b.size() < 26) invalidPicture(name, "truncated header");
  const uint32_t pixelOffset = readLe(b, 10, 4);
  const uint32_t headerSize = readLe(b, 14, 4);
  // With a header it does not know, the decoder goes on to try the file as a TGA, whose
  // decoder is the least tried against damaged files.
  if (headerSize != 12 && headerSize != 40 && headerSize != 56 && headerSize != 108 && headerSize != 124)
    invalidPicture(name, "unknown BMP header");
  // The decoder reads zeros past the end, and takes pixels said to start inside the
  // header from wherever its palette arithmetic lands.
  if (b.size() < 14 + headerSize) invalidPicture(name, "truncated header");
  if (pixelOffset < 14 + headerSize) invalidPicture(name, "pixels inside the header");
  int64_t width = 0, height = 0;
  uint32_t bitCount = 0, compression = 0;
  if (headerSize == 12) {
    width = static_cast<int16_t>(readLe(b, 18, 2));
    height = static_cast<int16_t>(readLe(b, 20, 2));
    bitCount = readLe(b, 24, 2);
  } else {
    width = static_cast<int32_t>(readLe(b, 18, 4));
    height = static_cast<int32_t>(readLe(b, 22, 4));
    bitCount = readLe(b, 28, 2);
    compression = readLe(b, 30, 4);
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0) invalidPicture(name, "empty image");
  if (width * height > MaxPixels) invalidPicture(name, "image too large");
  // The decoder reads the field as signed and takes every negative value for uncompressed.
  if (compression >= 0x80000000u) invalidPicture(name, "unknown compression");
  const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
  if (!uncompressed || bitCount == 0 || bitCount > 32) return;  // the decoder judges these
  const int64_t rowBits = width * bitCount;
  const int64_t stride = (rowBits + 31) / 32 * 4;
  const int64_t needed = int64_t{pixelOffset} + stride * (height - 1) + (rowBits + 7) / 8;
  if (needed > static_cast<int64_t>(b.size())) invalidPicture(name, "truncated pixel data");
}

// The formats a picture file may have. The decoder knows more (TGA, PSD, HDR, ...), but
// TGA has no signature, so without this check random bytes could pass for a picture, and
// the rarely used decoders are the least tried against damaged files.
bool knownSignature(std::span<const uint8_t> b) {
  auto starts = [&](std::string_view sig) {
    return b.size() >= sig.size() && std::equal(sig.begin(), sig.end(), b.begin(),
                                                [](char c, uint8_t u) { return uint8_t(c) == u; });
  };
  return starts("BM") || starts("\x89PNG\r\n\x1a\n") || starts("GIF87a") || starts("GIF89a") ||
         starts("\xFF\xD8\xFF");
}

struct StbFree {
  void operator()(stbi_uc* p) const { stbi_image_free(p); }
};

}  // namespace

Picture::Picture(int width, int height, std::vector<uint8_t> rgba)
    : width_(width), height_(height), rgba_(std::move(rgba)) {}

Ref<Picture> Picture::fromPixels(int width, int height, std::vector<uint8_t> rgba) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > MaxPixels)
    automation::raise(err::InvalidCall, "Picture size " + std::to_string(width) + "x" +
                                            std::to_string(height) + " is not allowed");
  if (rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
    automation::raise(err::InvalidCall, "Picture pixel data does not match its size");
  return Ref<Picture>(new Picture(width, height, std::move(rgba)));
}

Rgba Picture::pixel(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* p = rgba_.data() + (static_cast<size_t>(y) * width_ + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

Ref<Picture> decodePicture(std::span<const uint8_t> bytes, std::string_view name) {
  if (bytes.empty()) invalidPicture(name, "empty file");
  if (bytes.size() > MaxFileBytes) invalidPicture(name, "file too large");
  if (!knownSignature(bytes)) invalidPicture(name, "not a BMP, PNG, GIF or JPEG file");
  checkBmpHeader(bytes, name);
  if (bytes[0] == 0xFF) checkJpegTables(bytes, name);
  auto rewritten = bmpWithFullPalette(bytes);
  if (!rewritten) rewritten = pngWithFullPalette(bytes, name);
  if (rewritten) bytes = *rewritten;
  const int length = static_cast<int>(bytes.size());
  int w = 0, h = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &w, &h, &channels))
    invalidPicture(name, stbi_failure_reason() ? stbi_failure_reason() : "unknown format");
  // A top-down BMP reports a negative height here (and a positive one once decoded).
  const int64_t area = std::abs(int64_t{w}) * std::abs(int64_t{h});
  if (area == 0) invalidPicture(name, "empty image");
  if (area > MaxPixels) invalidPicture(name, "image too large");
  std::unique_ptr<stbi_uc, StbFree> data(
      stbi_load_from_memory(bytes.data(), length, &w, &h, &channels, 4));
  if (!data) invalidPicture(name, stbi_failure_reason() ? stbi_failure_reason() : "");
  const size_t size = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
  std::vector<uint8_t> rgba(data.get(), data.get() + size);
  return Picture::fromPixels(w, h, std::move(rgba));
}

Ref<Picture> loadPicture(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path p(path);
  if (path.empty() || !fs::is_regular_file(p, ec))
    automation::raise(err::FileNotFound, "File not found: " + path);
  const std::uintmax_t size = fs::file_size(p, ec);
  if (ec) automation::raise(err::FileNotFound, "File not found: " + path);
  if (size > MaxFileBytes) invalidPicture(path, "file too large");
  std::ifstream in(p, std::ios::binary);
  if (!in) automation::raise(err::FileNotFound, "File not found: " + path);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!in) invalidPicture(path, "read error");
  return decodePicture(bytes, path);
}

const MemberTable<Picture>& Picture::memberTable() {
  using V = VarType;
  // Slots follow the runtime's picture interface; Handle and hPal mean nothing here.
  static const MemberTable<Picture> table(
      "Picture",
      {
          {{"Type", 3, InvokeKind::PropertyGet, {}, V::Integer},
           [](Picture&, CallArgs&) { return Variant(TypeBitmap); }},
          {{"Width", 4, InvokeKind::PropertyGet, {}, V::Long},
           [](Picture& p, CallArgs&) { return Variant(int32_t{p.width()}); }},
          {{"Height", 5, InvokeKind::PropertyGet, {}, V::Long},
           [](Picture& p, CallArgs&) { return Variant(int32_t{p.height()}); }},
      });
  return table;
}

}  // namespace zadeve::platform
