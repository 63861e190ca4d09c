#include "components/po_parser.h"

#include <unordered_set>
#include <utility>

#include "automation/error.h"

namespace zadeve::components {

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
// gettext's own separator between a context and its msgid.
constexpr char ContextSeparator = '\x04';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view trim(std::string_view s) {
  s = trimLeft(s);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class PoParser {
 public:
  explicit PoParser(std::string_view fileName) : fileName_(fileName) {}

  std::vector<PoEntry> parse(std::string_view text) {
    if (text.starts_with(ByteOrderMark)) text.remove_prefix(ByteOrderMark.size());
    while (!text.empty()) {
      ++line_;
      size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      parseLine(trim(line));
    }
    if (stage_ == Stage::Str) finishEntry();
    if (stage_ != Stage::None) fail(entry_.line, "the entry has no msgstr");
    return std::move(entries_);
  }

 private:
  // Where the entry being read has got to.
  enum class Stage { None, Context, Id, Plural, Str };

  [[noreturn]] void fail(int line, std::string_view problem) const {
    automation::raise(InvalidFileFormat,
                      "Invalid file format: '" + std::string(fileName_) + "', line " +
                          std::to_string(line) + ": " + std::string(problem),
                      "TextCatalog");
  }
  [[noreturn]] void fail(std::string_view problem) const { fail(line_, problem); }

  void parseLine(std::string_view line) {
    if (line.empty() || line.front() == '#') {
      // A blank line or a comment closes a complete entry, so flags reach the next one.
      if (stage_ == Stage::Str) finishEntry();
      if (line.starts_with("#,") && hasFuzzyFlag(line.substr(2))) {
        if (stage_ == Stage::None) pendingFuzzy_ = true;
        else entry_.fuzzy = true;
      }
      return;
    }
    if (line.front() == '"') {
      if (!continued_) fail("a string outside an entry");
      *continued_ += readStrings(line, "the string");
      return;
    }
    keyword(line);
  }

  static bool hasFuzzyFlag(std::string_view flags) {
    while (!flags.empty()) {
      size_t comma = flags.find(',');
      if (trim(flags.substr(0, comma)) == "fuzzy") return true;
      if (comma == std::string_view::npos) break;
      flags.remove_prefix(comma + 1);
    }
    return false;
  }

  void keyword(std::string_view line) {
    size_t k = 0;
    while (k < line.size() && ((line[k] >= 'a' && line[k] <= 'z') || line[k] == '_')) ++k;
    std::string_view word = line.substr(0, k);
    if (word.empty()) fail("unexpected text, expected a keyword, a quoted string or a comment");
    std::optional<size_t> index;
    if (k < line.size() && line[k] == '[') {
      size_t close = line.find(']', k);
      if (close == std::string_view::npos) fail("missing ']' after " + std::string(word));
      index = pluralIndex(line.substr(k + 1, close - k - 1));
      k = close + 1;
    }
    std::string_view rest = line.substr(k);
    if (word == "msgctxt" && !index) return contextLine(rest);
    if (word == "msgid" && !index) return idLine(rest);
    if (word == "msgid_plural" && !index) return pluralLine(rest);
    if (word == "msgstr") return index ? pluralStrLine(*index, rest) : strLine(rest);
    fail("unknown keyword '" + std::string(line.substr(0, k)) + "'");
  }

  size_t pluralIndex(std::string_view digits) const {
    if (digits.empty() || digits.size() > 3) fail("bad plural form index");
    size_t n = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') fail("bad plural form index");
      n = n * 10 + static_cast<size_t>(c - '0');
    }
    return n;
  }

  void startEntry() {
    if (stage_ == Stage::Str) finishEntry();
    if (stage_ != Stage::None) fail("the entry on line " + std::to_string(entry_.line) + " has no msgstr");
    entry_ = PoEntry{};
    entry_.line = line_;
    entry_.fuzzy = std::exchange(pendingFuzzy_, false);
  }

  void contextLine(std::string_view rest) {
    startEntry();
    entry_.context = readStrings(rest, "msgctxt");
    continued_ = &*entry_.context;
    stage_ = Stage::Context;
  }

  void idLine(std::string_view rest) {
    if (stage_ != Stage::Context) startEntry();
    entry_.msgid = readStrings(rest, "msgid");
    continued_ = &entry_.msgid;
    stage_ = Stage::Id;
  }

  void pluralLine(std::string_view rest) {
    if (stage_ != Stage::Id) fail("msgid_plural without msgid");
    entry_.msgidPlural = readStrings(rest, "msgid_plural");
    continued_ = &*entry_.msgidPlural;
    stage_ = Stage::Plural;
  }

  void strLine(std::string_view rest) {
    if (stage_ == Stage::Plural) fail("a plural entry needs msgstr[0], msgstr[1], ...");
    if (stage_ == Stage::Str) fail("msgstr given twice");
    if (stage_ != Stage::Id) fail("msgstr without msgid");
    entry_.msgstr.push_back(readStrings(rest, "msgstr"));
    continued_ = &entry_.msgstr.back();
    stage_ = Stage::Str;
  }

  void pluralStrLine(size_t index, std::string_view rest) {
    bool plural = stage_ == Stage::Plural || (stage_ == Stage::Str && entry_.msgidPlural);
    if (!plural) fail("msgstr[" + std::to_string(index) + "] without msgid_plural");
    if (index != entry_.msgstr.size())
      fail("msgstr[" + std::to_string(index) + "] out of order, expected msgstr[" +
           std::to_string(entry_.msgstr.size()) + "]");
    entry_.msgstr.push_back(readStrings(rest, "msgstr"));
    continued_ = &entry_.msgstr.back();
    stage_ = Stage::Str;
  }

  void finishEntry() {
    std::string key = entry_.context ? *entry_.context + ContextSeparator + entry_.msgid : entry_.msgid;
    if (!keys_.insert(std::move(key)).second)
      fail(entry_.line, "msgid \"" + entry_.msgid + "\" is given twice");
    entries_.push_back(std::move(entry_));
    entry_ = PoEntry{};
    continued_ = nullptr;
    stage_ = Stage::None;
  }

  // One or more quoted strings, joined, filling the rest of the line.
  std::string readStrings(std::string_view rest, std::string_view after) const {
    rest = trimLeft(rest);
    if (rest.empty() || rest.front() != '"')
      fail("expected a quoted string after " + std::string(after));
    std::string out;
    while (!rest.empty()) {
      if (rest.front() != '"') fail("unexpected text after the closing quote");
      rest.remove_prefix(1);
      readQuoted(rest, out);
      rest = trimLeft(rest);
    }
    return out;
  }

  // Reads up to and past the closing quote.
  void readQuoted(std::string_view& rest, std::string& out) const {
    while (true) {
      if (rest.empty()) fail("unterminated string");
      char c = rest.front();
      rest.remove_prefix(1);
      if (c == '"') return;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (rest.empty()) fail("unterminated string");
      out += escape(rest);
    }
  }

  // The character of the escape sequence at the start of rest (after the backslash).
  char escape(std::string_view& rest) const {
    char c = rest.front();
    rest.remove_prefix(1);
    switch (c) {
      case 'a': return '\a';
      case 'b': return '\b';
      case 'f': return '\f';
      case 'n': return '\n';
      case 'r': return '\r';
      case 't': return '\t';
      case 'v': return '\v';
      case '\\': case '"': case '\'': case '?': return c;
      case 'x': {
        int value = 0, digits = 0;
        while (digits < 2 && !rest.empty() && hexValue(rest.front()) >= 0) {
          value = value * 16 + hexValue(rest.front());
          rest.remove_prefix(1);
          ++digits;
        }
        if (digits == 0) fail("\\x without hex digits");
        return static_cast<char>(value);
      }
      default: break;
    }
    if (c >= '0' && c <= '7') {
      int value = c - '0';
      for (int digits = 1; digits < 3 && !rest.empty() && rest.front() >= '0' && rest.front() <= '7'; ++digits) {
        value = value * 8 + (rest.front() - '0');
        rest.remove_prefix(1);
      }
      return static_cast<char>(value);
    }
    fail("unknown escape sequence '\\" + std::string(1, c) + "'");
  }

  std::string_view fileName_;
  int line_ = 0;
  Stage stage_ = Stage::None;
  PoEntry entry_;
  std::string* continued_ = nullptr;
  bool pendingFuzzy_ = false;
  std::unordered_set<std::string> keys_;
  std::vector<PoEntry> entries_;
};

}  // namespace

std::vector<PoEntry> parsePo(std::string_view text, std::string_view fileName) {
  return PoParser(fileName).parse(text);
}

}  // namespace zadeve::components
