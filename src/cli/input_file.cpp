#include "cli/input_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "platform/profile_file_system.h"

namespace zadeve::cli {
namespace {

namespace fs = std::filesystem;

std::string lowerFirst(std::string text) {
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return text;
}

// What stands at `path` when it is no regular file; empty for a regular file.
std::string notAFile(const fs::path& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return "no such file";
  if (ec) return "cannot be reached: " + lowerFirst(ec.message());
  switch (status.type()) {
    case fs::file_type::regular:
      return {};
    case fs::file_type::directory:
      return "is a folder, not a file";
    case fs::file_type::fifo:
      return "is a named pipe (FIFO), not a regular file";
    case fs::file_type::character:
    case fs::file_type::block:
      return "is a device, not a regular file";
    case fs::file_type::socket:
      return "is a socket, not a regular file";
    default:
      return "is not a regular file";
  }
}

// The encoding a byte-order mark or NUL bytes at the start give away; empty for a file
// the profile functions can read.
std::string foreignEncoding(const std::array<unsigned char, 4>& b, size_t n) {
  const auto starts = [&](std::string_view mark) {
    return n >= mark.size() && std::equal(mark.begin(), mark.end(), b.begin(),
                                          [](char m, unsigned char c) { return static_cast<unsigned char>(m) == c; });
  };
  const char* name = nullptr;
  if (starts(std::string_view("\x00\x00\xFE\xFF", 4)))
    name = "UTF-32 big-endian";
  else if (starts(std::string_view("\xFF\xFE\x00\x00", 4)))
    name = "UTF-32 little-endian";
  else if (starts("\xFE\xFF"))
    name = "UTF-16 big-endian";
  else if (starts("\xFF\xFE"))
    name = "UTF-16 little-endian";
  else if (starts("+/v"))
    name = "UTF-7";
  else if (starts("\x84\x31\x95\x33"))
    name = "GB 18030";
  if (name)
    return std::string("is saved as ") + name +
           " (it starts with that byte-order mark); BARS.INI must be ANSI or UTF-8 text";
  for (size_t i = 0; i < n; ++i)
    if (b[i] == 0) return "holds NUL bytes (UTF-16 without a byte-order mark, or not text); BARS.INI must be ANSI or UTF-8 text";
  return {};
}

struct Head {
  std::string problem;
  std::array<unsigned char, 4> bytes{};
  size_t size = 0;
};

// The first bytes of a regular file; opening one never blocks.
Head readHead(const std::string& path) {
  Head head;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    head.problem = "cannot be read: " + lowerFirst(std::generic_category().message(errno));
    return head;
  }
  head.size = std::fread(head.bytes.data(), 1, head.bytes.size(), file.get());
  if (std::ferror(file.get())) head.problem = "cannot be read: " + lowerFirst(std::generic_category().message(errno));
  return head;
}

std::string fileProblem(const std::string& path, Emptiness empty, bool configuration) {
  if (auto problem = notAFile(path); !problem.empty()) return problem;
  const Head head = readHead(path);
  if (!head.problem.empty()) return head.problem;
  if (head.size == 0 && empty == Emptiness::Refused) return "is empty";
  return configuration ? foreignEncoding(head.bytes, head.size) : std::string();
}

}  // namespace

std::string inputFileProblem(const std::string& path, Emptiness empty) { return fileProblem(path, empty, false); }

std::string configurationFileProblem(const std::string& path) {
  return fileProblem(path, Emptiness::Refused, true);
}

std::string withSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string inputFolderProblem(const std::string& given) {
  // "file/" is no folder, not "no such folder".
  std::string path = given;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found) return "no such folder";
  if (ec) return "cannot be reached: " + lowerFirst(ec.message());
  if (status.type() != fs::file_type::directory) return "is not a folder";
  fs::directory_iterator it(path, ec);
  if (ec) return "cannot be read: " + lowerFirst(ec.message());
  return {};
}

std::string readInputFile(const std::string& path) {
  platform::FileStat stat;
  std::string bytes;
  if (platform::readRegularFile(platform::systemFileSystem(), path, stat, bytes) != 0) bytes.clear();
  return bytes;
}

}  // namespace zadeve::cli
