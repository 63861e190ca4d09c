#include "platform/profile_parser.h"

#include <cstdint>
#include <cstring>

namespace zadeve::platform {
namespace {

constexpr char lowerAscii(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void classify(ProfileLine& line, std::string_view content) noexcept {
  content = cutAtNul(content);
  line.name = {};
  line.value = {};
  line.valueBegin = line.eol;

  std::size_t start = 0;
  while (start < content.size() && isProfileBlank(content[start])) ++start;
  if (start == content.size()) {
    line.kind = ProfileLineKind::Blank;
    return;
  }
  if (content[start] == ';') {
    line.kind = ProfileLineKind::Comment;
    return;
  }
  if (content[start] == '[') {
    // The name runs to the last ']', so "[a]b]" is section "a]b" and "[v] ; c" is "v".
    const std::size_t close = content.rfind(']');
    if (close != std::string_view::npos && close > start) {
      line.kind = ProfileLineKind::Header;
      line.name = trimProfileBlanks(content.substr(start + 1, close - start - 1));
      return;
    }
  }
  const std::size_t equals = content.find('=', start);
  if (equals != std::string_view::npos) {
    const std::string_view name = trimProfileBlanks(content.substr(start, equals - start));
    if (!name.empty()) {
      line.kind = ProfileLineKind::Key;
      line.name = name;
      line.value = trimProfileBlanks(content.substr(equals + 1));
      line.valueBegin = line.begin + equals + 1;
      return;
    }
  }
  line.kind = ProfileLineKind::Other;
}

}  // namespace

std::string_view trimProfileBlanks(std::string_view text) noexcept {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isProfileBlank(text[begin])) ++begin;
  while (end > begin && isProfileBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view cutAtNul(std::string_view text) noexcept {
  const void* nul = std::memchr(text.data(), '\0', text.size());
  if (nul == nullptr) return text;
  return text.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - text.data()));
}

std::string_view normalizeProfileName(std::string_view name) noexcept {
  return trimProfileBlanks(cutAtNul(name));
}

bool profileNamesEqual(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::size_t ProfileNameHash::operator()(std::string_view name) const noexcept {
  // FNV-1a over the lower-cased bytes, so names that compare equal hash equal.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(lowerAscii(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

ProfileLineReader::ProfileLineReader(std::string_view text) noexcept
    : text_(text), pos_(profileBomLength(text)) {}

bool ProfileLineReader::next(ProfileLine& line) noexcept {
  const std::size_t size = text_.size();
  if (pos_ >= size) return false;
  const char* data = text_.data();
  std::size_t end = pos_;
  while (end < size && data[end] != '\n' && data[end] != '\r') ++end;

  line.begin = pos_;
  line.eol = end;
  std::size_t next = end;
  if (next < size) next += (data[next] == '\r' && next + 1 < size && data[next + 1] == '\n') ? 2 : 1;
  line.next = next;
  pos_ = next;
  classify(line, text_.substr(line.begin, end - line.begin));
  return true;
}

std::size_t profileBomLength(std::string_view text) noexcept {
  return text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

std::string_view profileLineEnd(std::string_view text) noexcept {
  const std::size_t at = text.find_first_of("\r\n");
  if (at == std::string_view::npos) return "\r\n";
  if (text[at] == '\n') return "\n";
  return (at + 1 < text.size() && text[at + 1] == '\n') ? "\r\n" : "\r";
}

}  // namespace zadeve::platform
