#include "cli/check_ini_index.h"

namespace zadeve::cli::check {

using platform::ProfileLineKind;

const IniKey* IniSection::key(std::string_view name) const {
  auto at = keyIndex.find(std::string(name));
  return at == keyIndex.end() ? nullptr : &keys[at->second];
}

IniIndex::IniIndex(std::string_view text, ProblemList& problems) {
  platform::ProfileLineReader reader(text);
  platform::ProfileLine line;
  // Keys of a later duplicate section, or before the first header, are never read; the
  // duplicate section itself is reported, not each of its keys.
  IniSection* current = nullptr;
  int number = 0;
  while (reader.next(line)) {
    ++number;
    switch (line.kind) {
      case ProfileLineKind::Blank:
      case ProfileLineKind::Comment:
        break;
      case ProfileLineKind::Header: {
        std::string name(line.name);
        auto [at, added] = sectionIndex_.try_emplace(name, sections_.size());
        if (added) {
          sections_.push_back({name, number, {}, {}});
          current = &sections_.back();
        } else {
          problems.add({number, Severity::Warning,
                        "duplicate section [" + name + "]: the first, at line " +
                            std::to_string(sections_[at->second].line) + ", wins; this one is never read",
                        "", "", ""});
          current = nullptr;
        }
        break;
      }
      case ProfileLineKind::Key: {
        if (!current) break;
        std::string name(line.name);
        if (const IniKey* first = current->key(name)) {
          problems.add({number, Severity::Warning,
                        "duplicate key " + name + " in [" + current->name + "]: the first, at line " +
                            std::to_string(first->line) + ", wins",
                        "", "", name});
        } else {
          current->keyIndex.emplace(name, current->keys.size());
          current->keys.push_back({name, number});
        }
        break;
      }
      case ProfileLineKind::Other:
        problems.add({number, Severity::Error, "this line is neither a section, a key nor a comment", "", "", ""});
        break;
    }
  }
}

const IniSection* IniIndex::section(std::string_view name) const {
  auto at = sectionIndex_.find(std::string(name));
  return at == sectionIndex_.end() ? nullptr : &sections_[at->second];
}

int IniIndex::keyLine(std::string_view section, std::string_view key) const {
  const IniSection* s = this->section(section);
  const IniKey* k = s ? s->key(key) : nullptr;
  return k ? k->line : 0;
}

int IniIndex::lineOf(std::string_view section, std::string_view key) const {
  if (int line = keyLine(section, key)) return line;
  const IniSection* s = this->section(section);
  return s ? s->line : 0;
}

}  // namespace zadeve::cli::check
