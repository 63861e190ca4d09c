#pragma once
// The picture decoders. PNG and JPEG go to the system's own decoders, kept up to date
// with it: libpng and libjpeg, hardened and fuzzed continuously where they are made, and
// in the Windows build the Windows Imaging Component. BMP and GIF go to stb_image, built
// here with options of our own rather than taken from the system's copy. Every byte stb
// allocates starts as zero: a damaged file the checks before it miss can leave a pixel
// black, but never show what was in memory before. libjpeg's warnings about damaged data
// refuse the file.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zadeve::platform::decoder {

// The size the file's header gives (a top-down BMP gives a negative height); false, with
// the reason in `why`, when the decoder does not take the file for a picture.
bool info(std::span<const uint8_t> bytes, int& width, int& height, std::string& why);

// The pixels as 8-bit RGBA, rows top to bottom; empty, with the reason in `why`, when the
// file cannot be decoded.
std::vector<uint8_t> decodeRgba(std::span<const uint8_t> bytes, int& width, int& height, std::string& why);

}  // namespace zadeve::platform::decoder
