#include "cli/check_output.h"

#include <cstdint>
#include <cstdio>
#include <ostream>

namespace zadeve::cli::check {
namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
size_t utf8Length(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b = byte(i);
  size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  // Overlong forms and surrogates are not UTF-8 either.
  if (n == 2 && b < 0xC2) return 0;
  if (n == 3 && ((b == 0xE0 && byte(i + 1) < 0xA0) || (b == 0xED && byte(i + 1) >= 0xA0))) return 0;
  if (n == 4 && ((b == 0xF0 && byte(i + 1) < 0x90) || b > 0xF4 || (b == 0xF4 && byte(i + 1) >= 0x90))) return 0;
  return n;
}

std::string escape(unsigned code) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
  return buffer;
}

std::string orNull(const std::string& text) { return text.empty() ? "null" : jsonString(text); }

}  // namespace

std::string jsonString(const std::string& text) {
  std::string s = "\"";
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += static_cast<char>(c);
    } else if (c == '\n') {
      s += "\\n";
    } else if (c == '\t') {
      s += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      s += escape(c);
    } else if (size_t n = utf8Length(text, i); n > 0) {
      s.append(text, i, n);
      i += n;
      continue;
    } else {
      s += escape(c);  // Latin-1: the byte is the code point
    }
    ++i;
  }
  return s + "\"";
}

void writeText(std::ostream& out, const std::string& file, const std::vector<Problem>& problems) {
  for (const auto& p : problems) {
    out << file << ":" << p.line << ": " << severityName(p.severity) << ": " << p.message;
    std::string where;
    for (const std::string* part : {&p.view, &p.bar, &p.entry})
      if (!part->empty()) where += (where.empty() ? "" : "/") + *part;
    if (!where.empty()) out << " [" << where << "]";
    out << "\n";
  }
}

void writeJson(std::ostream& out, const std::string& file, const std::vector<Problem>& problems) {
  out << "[";
  for (size_t i = 0; i < problems.size(); ++i) {
    const auto& p = problems[i];
    out << (i ? ",\n " : "\n ") << "{\"file\": " << jsonString(file) << ", \"line\": " << p.line
        << ", \"severity\": \"" << severityName(p.severity) << "\", \"message\": " << jsonString(p.message)
        << ", \"view\": " << orNull(p.view) << ", \"bar\": " << orNull(p.bar) << ", \"entry\": " << orNull(p.entry)
        << "}";
  }
  out << (problems.empty() ? "]\n" : "\n]\n");
}

}  // namespace zadeve::cli::check
