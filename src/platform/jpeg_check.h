#pragma once
// The decoder builds a JPEG Huffman table from the symbol counts of a DHT segment without
// checking that they add up to at most 256, and writes past the table when they do not.
// Every place the decoder could take for a DHT segment is checked before it sees the file.

#include <cstdint>
#include <span>
#include <string_view>

namespace zadeve::platform {

// Raises 481 naming `name` when a DHT segment anywhere in the bytes holds a table of more
// than 256 symbols.
void checkJpegTables(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zadeve::platform
