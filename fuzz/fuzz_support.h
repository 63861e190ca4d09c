#pragma once
// What the harnesses share: taking an input apart, a scratch folder for the files a
// parser reads, and the check that turns a broken invariant into a crash libFuzzer keeps.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include <unistd.h>

namespace zadeve::fuzz {

// Aborts with the broken invariant, so the input is saved as a crash.
#define FUZZ_CHECK(condition, what)                                                          \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "invariant broken at %s:%d: %s\n  %s\n", __FILE__, __LINE__, what, \
                   #condition);                                                              \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

// Takes an input apart from the front: bytes, then strings ended by a backslash and any
// other character (a doubled backslash is one backslash), then the rest. Seeds stay
// readable text: "Functions\;IconSetCount\;[Functions]..." is a section, a key and a file.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

  uint8_t byte() {
    if (text_.empty()) return 0;
    const auto b = static_cast<uint8_t>(text_.front());
    text_.remove_prefix(1);
    return b;
  }

  std::string string(size_t maxLength = 512) {
    std::string out;
    while (!text_.empty() && out.size() < maxLength) {
      char c = text_.front();
      text_.remove_prefix(1);
      if (c == '\\' && !text_.empty()) {
        c = text_.front();
        text_.remove_prefix(1);
        if (c != '\\') break;
      }
      out += c;
    }
    return out;
  }

  std::string rest() {
    std::string out(text_);
    text_ = {};
    return out;
  }

 private:
  std::string_view text_;
};

// One folder per fuzzing process, removed when it ends.
class ScratchFolder {
 public:
  static ScratchFolder& instance() {
    static ScratchFolder folder;
    return folder;
  }

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

  std::string write(const std::string& name, std::string_view bytes) const {
    const std::string at = file(name);
    std::ofstream out(at, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    FUZZ_CHECK(out.good(), "the scratch file could not be written");
    return at;
  }

  static std::string read(const std::string& at) {
    std::ifstream in(at, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  ScratchFolder() {
    // Every input writes a file or two: on a disk that costs milliseconds, in memory
    // microseconds.
    std::error_code ec;
    const std::filesystem::path memory = "/dev/shm";
    const auto base = std::filesystem::is_directory(memory, ec) && ::access(memory.c_str(), W_OK) == 0
                          ? memory
                          : std::filesystem::temp_directory_path();
    for (int n = 0;; ++n) {
      path_ = base / ("zadeve-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(n));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

  std::filesystem::path path_;
};

}  // namespace zadeve::fuzz
