#pragma once
// A second, deliberately plain reading of profile text, written from the rules of the
// profile functions and sharing no code with the library's parser, so the harnesses can
// hold the library's reads and writes against it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zadeve::fuzz::model {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

inline std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

inline std::string_view beforeNul(std::string_view s) { return s.substr(0, s.find('\0')); }

inline char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

inline bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// One line with its line end, as the file holds it.
struct Line {
  std::string_view text;  // without the line end
  std::string_view end;   // "\n", "\r\n", "\r" or "" for a last line without one
  std::string whole() const { return std::string(text) + std::string(end); }
};

// Lines end at LF, CRLF or a lone CR; a byte-order mark is not part of the first line.
inline std::vector<Line> lines(std::string_view file) {
  if (file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
  std::vector<Line> out;
  while (!file.empty()) {
    const size_t at = file.find_first_of("\r\n");
    if (at == std::string_view::npos) {
      out.push_back({file, {}});
      break;
    }
    const size_t endLength = (file[at] == '\r' && at + 1 < file.size() && file[at + 1] == '\n') ? 2 : 1;
    out.push_back({file.substr(0, at), file.substr(at, endLength)});
    file.remove_prefix(at + endLength);
  }
  return out;
}

enum class Kind { Blank, Comment, Header, Key, Other };

struct Meaning {
  Kind kind = Kind::Blank;
  std::string_view name;
  std::string_view value;
};

inline Meaning meaning(std::string_view text) {
  text = beforeNul(text);
  size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  if (start == text.size()) return {Kind::Blank, {}, {}};
  if (text[start] == ';') return {Kind::Comment, {}, {}};
  if (text[start] == '[') {
    const size_t close = text.rfind(']');
    if (close != std::string_view::npos && close > start)
      return {Kind::Header, trim(text.substr(start + 1, close - start - 1)), {}};
  }
  const size_t equals = text.find('=', start);
  if (equals != std::string_view::npos) {
    const std::string_view name = trim(text.substr(start, equals - start));
    if (!name.empty()) return {Kind::Key, name, trim(text.substr(equals + 1))};
  }
  return {Kind::Other, {}, {}};
}

// The stored value of the first key of that name in the first section of that name.
inline std::optional<std::string_view> storedValue(std::string_view file, std::string_view section,
                                                   std::string_view key) {
  section = trim(beforeNul(section));
  key = trim(beforeNul(key));
  bool seen = false, inside = false;
  for (const Line& line : lines(file)) {
    const Meaning m = meaning(line.text);
    if (m.kind == Kind::Header) {
      if (inside) return std::nullopt;
      inside = !seen && sameName(m.name, section);
      seen = seen || inside;
    } else if (inside && m.kind == Kind::Key && sameName(m.name, key)) {
      return m.value;
    }
  }
  return std::nullopt;
}

inline std::string_view withoutOuterQuotes(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

inline std::string fit(std::string_view text, size_t size) {
  return size == 0 ? std::string() : std::string(text.substr(0, size - 1));
}

// What a read into a buffer of `size` chars returns.
inline std::string read(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue, size_t size) {
  if (auto value = storedValue(file, section, key)) return fit(withoutOuterQuotes(*value), size);
  std::string_view d = beforeNul(defaultValue);
  while (!d.empty() && d.back() == ' ') d.remove_suffix(1);
  return fit(d, size);
}

}  // namespace zadeve::fuzz::model
