#pragma once
// What `zadeve show --watch` looks at: the files a view is built from (the BARS.INI and
// the bitmap of every icon set it names), polled, since a portable tool has no portable
// change notification. A file counts as changed when its contents, size or time differ,
// when it appears or when it goes; reading one never waits on a FIFO put in its place.

#include <cstdint>
#include <string>
#include <vector>

#include "core/zuzuzud_library.h"

namespace zadeve::cli {

// The configuration file, then the files of its icon sets ("IconSet<n>" in [Functions]
// naming a bitmap), as the library joins them to its bitmap folder.
std::vector<std::string> viewFiles(core::ZuzuzudLibrary& lib);

class FileWatch {
 public:
  // Watches `paths` from now on; a path watched before keeps what was seen of it, so a
  // change made while the caller was busy is still found.
  void watch(const std::vector<std::string>& paths);
  // Whether any file changed since the last look (which this is, from now on).
  bool changed();

 private:
  struct Stamp {
    int error = 0;  // why it could not be read; 0 when it was
    int64_t size = 0;
    int64_t modifiedNs = 0;
    size_t contents = 0;  // a hash
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  static Stamp stampOf(const std::string& path);

  std::vector<std::pair<std::string, Stamp>> files_;
};

}  // namespace zadeve::cli
