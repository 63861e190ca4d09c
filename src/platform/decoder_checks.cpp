#include "platform/decoder_checks.h"

#include <algorithm>
#include <string>

#include "automation/error.h"

namespace zadeve::platform {
namespace {

constexpr uint8_t MarkerStart = 0xFF;
constexpr uint8_t DefineHuffmanTables = 0xC4;
constexpr size_t MaxSymbols = 256;

uint32_t readLe(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= uint32_t{b[at + i]} << (8 * i);
  return v;
}

uint32_t readBe(std::span<const uint8_t> b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

bool startsWith(std::span<const uint8_t> b, std::string_view signature) {
  return b.size() >= signature.size() &&
         std::equal(signature.begin(), signature.end(), b.begin(),
                    [](char c, uint8_t u) { return static_cast<uint8_t>(c) == u; });
}

// Reads as the decoder does: past the end every byte is 0.
uint8_t at(std::span<const uint8_t> b, size_t i) { return i < b.size() ? b[i] : 0; }

// The segment's tables, each a class byte, 16 counts and as many symbols as they add up to.
bool tablesFit(std::span<const uint8_t> b, size_t segment) {
  long left = (long{at(b, segment)} << 8 | at(b, segment + 1)) - 2;
  size_t i = segment + 2;
  while (left > 0 && i < b.size()) {
    size_t symbols = 0;
    for (size_t k = 0; k < 16; ++k) symbols += at(b, i + 1 + k);
    if (symbols > MaxSymbols) return false;
    i += 17 + symbols;
    left -= static_cast<long>(17 + symbols);
  }
  return true;
}

}  // namespace

[[noreturn]] void invalidPicture(std::string_view name, std::string_view why) {
  std::string text = "Invalid picture: " + std::string(name);
  if (!why.empty()) text += " (" + std::string(why) + ")";
  automation::raise(automation::err::InvalidPicture, std::move(text));
}

// What the decoder lets through in a BMP header. It pads pixel rows that run past the end
// of the file with black instead of failing, so a cut-off icon strip would load as a
// half-black one; uncompressed BMPs state exactly how many bytes their rows need.
void checkBmpHeader(std::span<const uint8_t> b, std::string_view name, int64_t maxPixels) {
  if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') return;
  if (b.size() < 26) invalidPicture(name, "truncated header");
  const uint32_t pixelOffset = readLe(b, 10, 4);
  const uint32_t headerSize = readLe(b, 14, 4);
  // A header the decoder does not know would make it try the other formats, and the
  // file fail with a reason that names none of its faults.
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
  if (width * height > maxPixels) invalidPicture(name, "image too large");
  // The decoder reads the field as signed and takes every negative value for uncompressed.
  if (compression >= 0x80000000u) invalidPicture(name, "unknown compression");
  const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
  if (!uncompressed || bitCount == 0 || bitCount > 32) return;  // the decoder judges these
  const int64_t rowBits = width * bitCount;
  const int64_t stride = (rowBits + 31) / 32 * 4;
  const int64_t needed = int64_t{pixelOffset} + stride * (height - 1) + (rowBits + 7) / 8;
  if (needed > static_cast<int64_t>(b.size())) invalidPicture(name, "truncated pixel data");
}

void checkPngChunks(std::span<const uint8_t> b, std::string_view name) {
  constexpr size_t Signature = 8, ChunkFrame = 12;  // length, type and CRC around the data
  if (!startsWith(b, "\x89PNG\r\n\x1a\n")) return;
  for (size_t at = Signature; at + ChunkFrame <= b.size();) {
    const uint32_t length = readBe(b, at);
    if (length > b.size() - at - ChunkFrame) invalidPicture(name, "truncated chunk");
    if (startsWith(b.subspan(at + 4), "IEND")) return;  // the decoder reads no further
    at += ChunkFrame + length;
  }
}

void checkJpegTables(std::span<const uint8_t> bytes, std::string_view name) {
  if (!startsWith(bytes, "\xFF\xD8")) return;
  // Not only the segments a walk of the file would find: where the decoder looks for its
  // next marker depends on how far it got with the picture. Valid entropy-coded data
  // never holds FF C4, so this refuses no sound file.
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == MarkerStart && bytes[i + 1] == DefineHuffmanTables && !tablesFit(bytes, i + 2)) {
      invalidPicture(name, "bad Huffman table");
    }
  }
}

}  // namespace zadeve::platform
