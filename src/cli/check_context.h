#pragma once
// What every part of `zadeve check` works with: the file's line index, the library that
// reads the file (values are always read through it, so the check sees what the library
// sees), the bitmap folder and the problems found so far.

#include <map>
#include <string>

#include "cli/check_ini_index.h"
#include "cli/check_problems.h"
#include "core/zuzuzud_library.h"

namespace zadeve::cli::check {

class CheckContext {
 public:
  CheckContext(const IniIndex& ini, core::ZuzuzudLibrary& lib, std::string bitmapsDir, std::string shownBitmapsDir,
               ProblemList& problems)
      : ini(ini), lib(lib), bitmapsDir(std::move(bitmapsDir)), shownBitmapsDir(std::move(shownBitmapsDir)),
        problems(problems) {}

  const IniIndex& ini;
  core::ZuzuzudLibrary& lib;
  const std::string bitmapsDir;       // as the library joins it to a file name
  const std::string shownBitmapsDir;  // as the user named it
  ProblemList& problems;

  // GetConfigValue, as text.
  std::string read(const std::string& section, const std::string& key, const std::string& def = "") const;
  // The value as the file holds it, before GetConfigValue cuts it to 255 characters.
  std::string readWhole(const std::string& section, const std::string& key) const;
  // A text for one output line: line breaks become blanks, the bitmap folder is named as
  // the user named it.
  std::string shown(std::string text) const;

  // The picture of an icon-set file: its strip width in pixels, or the load error's
  // description. Each file is loaded once per check.
  struct Bitmap {
    bool loaded = false;
    int width = 0;
    std::string error;
    bool notAFile = false;  // a folder, a FIFO, a device or an unreadable file: the library says "not found"
  };
  const Bitmap& bitmap(const std::string& file);

 private:
  std::map<std::string, Bitmap> bitmaps_;
};

// Whether `key` is `prefix` followed by a number written as the library writes it
// (decimal, no sign, no leading zero), and which.
bool numberedKey(const std::string& key, std::string_view prefix, int& number);

}  // namespace zadeve::cli::check
