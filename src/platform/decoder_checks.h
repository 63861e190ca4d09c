#pragma once
// Checks of a picture file for what the decoder gets wrong, made before it sees the file.
// Each raises 481, naming `name`, for a file the decoder would mishandle, and lets every
// other file pass, files of other formats included.

#include <cstdint>
#include <span>
#include <string_view>

namespace zadeve::platform {

// "Invalid picture: <name> (<why>)".
[[noreturn]] void invalidPicture(std::string_view name, std::string_view why);

// A header the decoder does not know, a compression it
// takes for none, a header or pixel rows cut short (it reads zeros and pads with black),
// pixels said to start inside the header, and more than `maxPixels` pixels.
void checkBmpHeader(std::span<const uint8_t> bytes, std::string_view name, int64_t maxPixels);

// A chunk said to run past the end of the file: the decoder sizes its buffer from the
// length before it looks for the data, so a few bytes could cost gigabytes.
void checkPngChunks(std::span<const uint8_t> bytes, std::string_view name);

// A Huffman table of more than 256 symbols, which the decoder writes past its end. Every
// place it could take for a DHT segment is checked.
void checkJpegTables(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zadeve::platform
