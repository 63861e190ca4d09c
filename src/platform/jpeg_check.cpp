#include "platform/jpeg_check.h"

#include <string>

#include "automation/error.h"

namespace zadeve::platform {
namespace {

constexpr uint8_t MarkerStart = 0xFF;
constexpr uint8_t DefineHuffmanTables = 0xC4;
constexpr size_t MaxSymbols = 256;

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

void checkJpegTables(std::span<const uint8_t> bytes, std::string_view name) {
  // Not only the segments a walk of the file would find: where the decoder looks for its
  // next marker depends on how far it got with the picture. Valid entropy-coded data
  // never holds FF C4, so this refuses no sound file.
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == MarkerStart && bytes[i + 1] == DefineHuffmanTables && !tablesFit(bytes, i + 2)) {
      automation::raise(automation::err::InvalidPicture,
                        "Invalid picture: " + std::string(name) + " (bad Huffman table)");
    }
  }
}

}  // namespace zadeve::platform
