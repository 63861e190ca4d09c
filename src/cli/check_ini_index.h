#pragma once
// The configuration file line by line, read the way the profile functions read it, so
// that every problem can name its line: where each section and key stands, which
// duplicates the profile functions pass over, and which lines mean nothing to them.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli/check_problems.h"
#include "platform/profile_parser.h"

namespace zadeve::cli::check {

struct IniKey {
  std::string name;
  int line = 0;
};

using NameIndex = std::unordered_map<std::string, size_t, platform::ProfileNameHash, platform::ProfileNameEqual>;

struct IniSection {
  std::string name;
  int line = 0;
  std::vector<IniKey> keys;  // the first of each name, in file order
  NameIndex keyIndex;

  const IniKey* key(std::string_view name) const;
};

class IniIndex {
 public:
  // Duplicates and lines that are neither a section, a key nor a comment go to `problems`.
  IniIndex(std::string_view text, ProblemList& problems);

  // The sections the profile functions search: the first of each name, in file order.
  const std::vector<IniSection>& sections() const { return sections_; }
  const IniSection* section(std::string_view name) const;
  // The line of the key that a read finds, 0 when there is none.
  int keyLine(std::string_view section, std::string_view key) const;
  // The key's line, else its section's header line, else 0.
  int lineOf(std::string_view section, std::string_view key) const;

 private:
  std::vector<IniSection> sections_;
  NameIndex sectionIndex_;
};

}  // namespace zadeve::cli::check
