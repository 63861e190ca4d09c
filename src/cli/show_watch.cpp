#include "cli/show_watch.h"

#include <algorithm>
#include <functional>

#include "automation/conversions.h"
#include "cli/check_context.h"
#include "cli/check_ini_index.h"
#include "platform/profile_file_system.h"

namespace zadeve::cli {
namespace {

// Icon-set bitmaps are strips of small images; a larger file is told apart by size and time.
constexpr int64_t HashedBytes = int64_t{16} << 20;

}  // namespace

std::vector<std::string> viewFiles(core::ZuzuzudLibrary& lib) {
  std::vector<std::string> files{lib.BarsConfigFile()};
  std::string bytes;
  platform::FileStat stat;
  if (platform::readRegularFile(platform::systemFileSystem(), lib.BarsConfigFile(), stat, bytes, HashedBytes) != 0)
    return files;
  check::ProblemList unused;
  const check::IniIndex ini(bytes, unused);
  const check::IniSection* functions = ini.section("Functions");
  if (!functions) return files;
  for (const auto& key : functions->keys) {
    int n = 0;
    if (!check::numberedKey(key.name, "IconSet", n)) continue;
    const std::string entry = automation::toString(lib.GetConfigValue("Functions", key.name, ""));
    const std::string file = entry.substr(0, entry.find(','));
    if (file.empty() || file[0] == '!') continue;
    const std::string path = lib.BarsBitmapsDir() + file;
    if (std::find(files.begin(), files.end(), path) == files.end()) files.push_back(path);
  }
  return files;
}

FileWatch::Stamp FileWatch::stampOf(const std::string& path) {
  Stamp s;
  platform::FileStat stat;
  std::string bytes;
  s.error = platform::readRegularFile(platform::systemFileSystem(), path, stat, bytes, HashedBytes);
  if (s.error != 0) return s;
  s.size = stat.size;
  s.modifiedNs = stat.modifiedNs;
  // Times may be whole seconds (the Windows runtime's): two saves in one second differ here.
  s.contents = std::hash<std::string>{}(bytes);
  return s;
}

void FileWatch::watch(const std::vector<std::string>& paths) {
  std::vector<std::pair<std::string, Stamp>> next;
  for (const auto& path : paths) {
    auto seen = std::find_if(files_.begin(), files_.end(), [&](const auto& f) { return f.first == path; });
    next.emplace_back(path, seen != files_.end() ? seen->second : stampOf(path));
  }
  files_ = std::move(next);
}

bool FileWatch::changed() {
  bool any = false;
  for (auto& [path, stamp] : files_) {
    Stamp now = stampOf(path);
    if (now == stamp) continue;
    stamp = now;
    any = true;
  }
  return any;
}

}  // namespace zadeve::cli
