#pragma once
// A fresh folder per test, removed with everything in it when the test ends.

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace zadeve::support {

class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    const std::string prefix = "zadeve-test-" + std::to_string(::getpid()) + "-";
    do path_ = std::filesystem::temp_directory_path() / (prefix + std::to_string(counter++));
    while (!std::filesystem::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // Writes `content` byte for byte and returns the file's path.
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
    return file(name);
  }
  static std::string read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path path_;
};

}  // namespace zadeve::support
