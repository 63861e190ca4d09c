#include "cli/check_context.h"

#include <algorithm>

#include "automation/conversions.h"
#include "automation/error.h"
#include "cli/input_file.h"
#include "platform/picture.h"
#include "platform/profile.h"
#include "platform/profile_parser.h"

namespace zadeve::cli::check {

std::string CheckContext::read(const std::string& section, const std::string& key, const std::string& def) const {
  return automation::toString(lib.GetConfigValue(section, key, def));
}

std::string CheckContext::readWhole(const std::string& section, const std::string& key) const {
  return platform::readProfileString(section, key, "", lib.BarsConfigFile(), size_t{1} << 20);
}

std::string CheckContext::shown(std::string text) const {
  for (size_t p; (p = text.find("\r\n")) != std::string::npos;) text.replace(p, 2, " ");
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  for (size_t p = 0; (p = text.find(bitmapsDir, p)) != std::string::npos; p += shownBitmapsDir.size())
    text.replace(p, bitmapsDir.size(), shownBitmapsDir);
  return text;
}

const CheckContext::Bitmap& CheckContext::bitmap(const std::string& file) {
  auto [at, added] = bitmaps_.try_emplace(file);
  if (!added) return at->second;
  // A folder, a FIFO or an unreadable file named as a bitmap: the reason, not "not found".
  if (auto problem = inputFileProblem(bitmapsDir + file, Emptiness::Allowed);
      !problem.empty() && problem != "no such file") {
    at->second.error = shown(bitmapsDir + file) + " " + problem;
    at->second.notAFile = true;
    return at->second;
  }
  try {
    at->second.width = platform::loadPicture(bitmapsDir + file)->width();
    at->second.loaded = true;
  } catch (const automation::AutomationError& e) {
    at->second.error = shown(e.description());
  }
  return at->second;
}

bool numberedKey(const std::string& key, std::string_view prefix, int& number) {
  if (key.size() <= prefix.size() || key.size() > prefix.size() + 6) return false;
  if (!platform::profileNamesEqual(std::string_view(key).substr(0, prefix.size()), prefix)) return false;
  std::string_view digits = std::string_view(key).substr(prefix.size());
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
  if (digits.size() > 1 && digits.front() == '0') return false;
  number = std::stoi(std::string(digits));
  return true;
}

}  // namespace zadeve::cli::check
