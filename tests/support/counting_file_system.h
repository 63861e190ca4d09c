#pragma once
// The real file system, installed for its lifetime, counting how often the profile cache
// checks one file (each check is one stat of its path).

#include <string>

#include "platform/profile_file_system.h"

namespace zadeve::support {

class CountingFileSystem : public platform::PosixFileSystem {
 public:
  explicit CountingFileSystem(std::string path) : path_(std::move(path)) { platform::setProfileFileSystem(this); }
  ~CountingFileSystem() override { platform::setProfileFileSystem(nullptr); }
  CountingFileSystem(const CountingFileSystem&) = delete;
  CountingFileSystem& operator=(const CountingFileSystem&) = delete;

  int stat(const std::string& path, platform::FileStat& out) override {
    checks += path == path_;
    return PosixFileSystem::stat(path, out);
  }

  int checks = 0;

 private:
  std::string path_;
};

}  // namespace zadeve::support
