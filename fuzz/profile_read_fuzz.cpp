// Profile reads: arbitrary file bytes, section, key, default and buffer size. The cached and
// the uncached read must agree with each other and with the plain model of the rules.
//
// Input: a byte choosing the buffer size and where the file is, then section, key and
// default (each ended by a backslash and one more character), then the file's bytes.

#include <filesystem>

#include "fuzz_support.h"
#include "platform/profile.h"
#include "platform/profile_reader.h"
#include "profile_model.h"

using namespace zadeve;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InputReader input(data, size);
  const uint8_t choice = input.byte();
  const std::string section = input.string();
  const std::string key = input.string();
  const std::string defaultValue = input.string();
  const std::string bytes = input.rest();

  // The library always reads with 256; small and odd sizes check the cut.
  const size_t bufferSize = (choice & 0x80) ? choice & 0x7f : 256;
  auto& scratch = fuzz::ScratchFolder::instance();
  std::string path = scratch.write("read.ini", bytes);
  std::string_view seen = bytes;
  switch (choice & 0x03) {
    case 1:  // missing
      std::filesystem::remove(path);
      seen = {};
      break;
    case 2:  // a folder where the file should be
      path = scratch.path().string();
      seen = {};
      break;
    default:
      break;
  }

  const std::string cached = platform::readProfileString(section, key, defaultValue, path, bufferSize);
  const std::string again = platform::readProfileString(section, key, defaultValue, path, bufferSize);
  const std::string uncached = platform::readProfileStringUncached(section, key, defaultValue, path, bufferSize);
  const std::string expected = fuzz::model::read(seen, section, key, defaultValue, bufferSize);

  FUZZ_CHECK(cached.size() + 1 <= std::max<size_t>(bufferSize, 1), "the value does not fit the buffer");
  FUZZ_CHECK(cached == again, "a second read of an unchanged file differs");
  FUZZ_CHECK(cached == uncached, "the cached read differs from the uncached one");
  FUZZ_CHECK(cached == expected, "the read differs from the model");
  return 0;
}
