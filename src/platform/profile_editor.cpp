#include "platform/profile_editor.h"

#include "platform/profile_parser.h"

namespace zadeve::platform {
namespace {

struct SectionSpan {
  ProfileLine header;
  std::size_t end = 0;  // where the next header starts, or the end of the text
  std::optional<ProfileLine> key;
  std::optional<ProfileLine> lastKey;
};

std::optional<SectionSpan> findSection(std::string_view text, std::string_view section,
                                       std::optional<std::string_view> key) {
  ProfileLineReader reader(text);
  ProfileLine line;
  std::optional<SectionSpan> span;
  while (reader.next(line)) {
    if (line.kind == ProfileLineKind::Header) {
      if (span) {
        span->end = line.begin;
        return span;
      }
      if (profileNamesEqual(line.name, section)) span = SectionSpan{line, text.size(), {}, {}};
    } else if (span && line.kind == ProfileLineKind::Key) {
      span->lastKey = line;
      if (!span->key && key && profileNamesEqual(line.name, *key)) span->key = line;
    }
  }
  return span;
}

// A line added at `pos` needs a line end before it when the line above has none.
bool needsLineEndBefore(std::string_view text, std::size_t pos) {
  if (pos <= profileBomLength(text)) return false;
  const char previous = text[pos - 1];
  return previous != '\n' && previous != '\r';
}

std::string spliced(std::string_view text, std::size_t from, std::size_t to, std::string_view insert) {
  std::string out;
  out.reserve(text.size() - (to - from) + insert.size());
  out.append(text.substr(0, from));
  out.append(insert);
  out.append(text.substr(to));
  return out;
}

std::string keyLine(std::string_view text, std::size_t pos, std::string_view key,
                    std::string_view value) {
  std::string_view lineEnd = profileLineEnd(text);
  // A lone CR ending the new line would join the LF of an empty line after it into one
  // line end, and that line would be gone.
  if (lineEnd == "\r" && pos < text.size() && text[pos] == '\n') lineEnd = "\r\n";
  std::string line;
  if (needsLineEndBefore(text, pos)) line.append(lineEnd);
  line.append(key).append("=").append(value).append(lineEnd);
  return line;
}

}  // namespace

std::optional<std::string> setProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
  const auto span = findSection(text, section, key);
  if (!span) {
    const std::string_view lineEnd = profileLineEnd(text);
    std::string added;
    if (needsLineEndBefore(text, text.size())) added.append(lineEnd);
    added.append("[").append(section).append("]").append(lineEnd);
    added.append(key).append("=").append(value).append(lineEnd);
    return spliced(text, text.size(), text.size(), added);
  }
  if (span->key) {
    const ProfileLine& line = *span->key;
    // Same value as read back: leave the file alone, spacing and quotes included.
    if (line.value == trimProfileBlanks(value)) return std::nullopt;
    std::size_t keep = line.valueBegin;  // "key =" as the file spells it
    if (!value.empty()) {
      while (keep < line.eol && isProfileBlank(text[keep])) ++keep;
    }
    return spliced(text, keep, line.eol, value);
  }
  const std::size_t pos = span->lastKey ? span->lastKey->next : span->header.next;
  return spliced(text, pos, pos, keyLine(text, pos, key, value));
}

std::optional<std::string> deleteProfileKey(std::string_view text, std::string_view section,
                                            std::string_view key) {
  const auto span = findSection(text, section, key);
  if (!span || !span->key) return std::nullopt;
  return spliced(text, span->key->begin, span->key->next, {});
}

std::optional<std::string> deleteProfileSection(std::string_view text, std::string_view section) {
  const auto span = findSection(text, section, std::nullopt);
  if (!span) return std::nullopt;
  return spliced(text, span->header.begin, span->end, {});
}

}  // namespace zadeve::platform
