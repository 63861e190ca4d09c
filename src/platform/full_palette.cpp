#include "platform/full_palette.h"

#include <algorithm>

#include "platform/decoder_checks.h"

namespace zadeve::platform {
namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;  // the OS/2 header: 16-bit sizes, 3-byte entries
constexpr uint32_t InfoHeaderSize = 40;

uint32_t readLe(std::span<const uint8_t> b, size_t at, size_t n) {
  uint32_t v = 0;
  for (size_t i = 0; i < n; ++i) v |= uint32_t{b[at + i]} << (8 * i);
  return v;
}

void putLe(std::vector<uint8_t>& out, uint32_t v, size_t n) {
  for (size_t i = 0; i < n; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t readBe(std::span<const uint8_t> b, size_t at) {
  return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

bool knownHeader(uint32_t size) {
  return size == CoreHeaderSize || size == InfoHeaderSize || size == 56 || size == 108 || size == 124;
}

}  // namespace

std::optional<std::vector<uint8_t>> bmpWithFullPalette(std::span<const uint8_t> bytes) {
  if (bytes.size() < FileHeaderSize + CoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t offset = readLe(bytes, 10, 4);
  const uint32_t headerSize = readLe(bytes, 14, 4);
  if (!knownHeader(headerSize) || bytes.size() < FileHeaderSize + headerSize) return std::nullopt;
  const bool core = headerSize == CoreHeaderSize;
  const uint32_t width = core ? readLe(bytes, 18, 2) : readLe(bytes, 18, 4);
  const uint32_t height = core ? readLe(bytes, 20, 2) : readLe(bytes, 22, 4);
  const uint32_t planes = core ? readLe(bytes, 22, 2) : readLe(bytes, 26, 2);
  const uint32_t bitCount = core ? readLe(bytes, 24, 2) : readLe(bytes, 28, 2);
  const uint32_t compression = core ? 0 : readLe(bytes, 30, 4);
  if (planes != 1 || compression != 0 || (bitCount != 1 && bitCount != 4 && bitCount != 8)) return std::nullopt;

  const size_t headerEnd = FileHeaderSize + headerSize;
  if (offset < headerEnd) return std::nullopt;
  const size_t pixels = std::min<size_t>(offset, bytes.size());
  const size_t entrySize = core ? 3 : 4;
  const size_t colours = size_t{1} << bitCount;
  const size_t given = std::min((pixels - headerEnd) / entrySize, colours);

  std::vector<uint8_t> out = {'B', 'M'};
  const size_t newOffset = FileHeaderSize + InfoHeaderSize + colours * 4;
  out.reserve(newOffset + bytes.size() - pixels);
  putLe(out, static_cast<uint32_t>(newOffset + bytes.size() - pixels), 4);
  putLe(out, 0, 4);  // reserved
  putLe(out, static_cast<uint32_t>(newOffset), 4);
  putLe(out, InfoHeaderSize, 4);
  putLe(out, width, 4);
  putLe(out, height, 4);
  putLe(out, 1, 2);
  putLe(out, bitCount, 2);
  for (int field = 0; field < 6; ++field) putLe(out, 0, 4);  // compression .. colours important
  for (size_t i = 0; i < colours; ++i) {
    const size_t at = headerEnd + i * entrySize;
    for (size_t c = 0; c < 3; ++c) out.push_back(i < given ? bytes[at + c] : 0);
    out.push_back(0);
  }
  out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(pixels), bytes.end());
  return out;
}

std::optional<std::vector<uint8_t>> pngWithFullPalette(std::span<const uint8_t> bytes, std::string_view name) {
  constexpr size_t Signature = 8, ChunkFrame = 12;  // length, type and CRC around the data
  constexpr size_t FullPalette = 256 * 3;
  constexpr size_t ColourTypeOffset = Signature + 8 + 9;  // in the IHDR chunk's data
  constexpr uint8_t IndexedColour = 3;
  constexpr std::string_view PngSignature = "\x89PNG\r\n\x1a\n";
  if (bytes.size() < ColourTypeOffset + 1 ||
      !std::equal(PngSignature.begin(), PngSignature.end(), bytes.begin(),
                  [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; }))
    return std::nullopt;
  const bool indexed = bytes[ColourTypeOffset] == IndexedColour;
  std::vector<uint8_t> out(bytes.begin(), bytes.begin() + Signature);
  bool grown = false;
  size_t entries = 0;
  size_t at = Signature;
  while (at + ChunkFrame <= bytes.size()) {
    const uint32_t length = readBe(bytes, at);
    if (length > bytes.size() - at - ChunkFrame) break;  // the decoder judges a cut chunk
    const std::string_view type(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
    const auto chunk = bytes.subspan(at, ChunkFrame + length);
    if (type == "PLTE" && length > 0 && length < FullPalette && length % 3 == 0) {
      entries = length / 3;
      for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(FullPalette >> shift));
      out.insert(out.end(), chunk.begin() + 4, chunk.end() - 4);
      out.insert(out.end(), FullPalette - length, 0);
      out.insert(out.end(), chunk.end() - 4, chunk.end());
      grown = true;
    } else {
      if (type == "PLTE") entries = length / 3;
      if (type == "tRNS" && indexed && entries > 0 && length > entries) invalidPicture(name, "bad tRNS length");
      out.insert(out.end(), chunk.begin(), chunk.end());
    }
    at += ChunkFrame + length;
  }
  if (!grown) return std::nullopt;
  out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
  return out;
}

}  // namespace zadeve::platform
