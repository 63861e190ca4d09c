#pragma once
// The decoder takes a BMP's palette from the bytes between its header and its pixels,
// miscounts it after the small OS/2 header, and colours a pixel whose index lies beyond
// the palette from memory it never filled. So a paletted BMP goes to it rewritten: the
// standard 40-byte header and a palette of every index, the entries the file lacks black.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace zadeve::platform {

// The rewritten file for an uncompressed 1-, 4- or 8-bit BMP whose header and pixel offset
// make sense; nothing for any other file (the decoder judges those itself). Raises 481
// naming `name` when the pixels are said to start inside the header or the palette.
std::optional<std::vector<uint8_t>> withFullPalette(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zadeve::platform
