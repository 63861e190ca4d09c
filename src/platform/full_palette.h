#pragma once
// The decoder colours a pixel whose palette index lies beyond the palette from memory it
// never filled, in BMPs and PNGs alike, and miscounts a BMP palette after the small OS/2
// header. So a paletted picture goes to it rewritten with a palette of every index, the
// entries the file lacks black; every other byte stays.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zadeve::platform {

// An uncompressed 1-, 4- or 8-bit BMP whose header makes sense, rewritten with the standard
// 40-byte header; nothing for any other file (the decoder judges those itself).
std::optional<std::vector<uint8_t>> bmpWithFullPalette(std::span<const uint8_t> bytes);

// A PNG with a short PLTE chunk, the chunk grown to 256 entries (the decoder checks no
// CRC); nothing for any other file. Raises 481 naming `name` for a palette transparency
// chunk longer than the palette, which the grown palette would otherwise let through.
std::optional<std::vector<uint8_t>> pngWithFullPalette(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zadeve::platform
