#include "cli/call_script.h"

#include <cmath>
#include <limits>

#include "automation/conversions.h"

namespace zadeve::cli {

using automation::Variant;
using automation::VarType;

std::vector<Word> splitWords(std::string_view line) {
  std::vector<Word> words;
  size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (i < line.size()) {
    if (blank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Word w;
    if (line[i] == '"') {
      w.quoted = true;
      for (++i;; ++i) {
        if (i >= line.size()) throw ScriptError("a quoted text is not closed");
        if (line[i] == '"') break;
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) ++i;
        w.text += line[i];
      }
      ++i;
      if (i < line.size() && !blank(line[i])) throw ScriptError("a blank must follow a quoted text");
    } else {
      while (i < line.size() && !blank(line[i])) w.text += line[i++];
    }
    words.push_back(std::move(w));
  }
  return words;
}

std::string quote(std::string_view text) {
  std::string s = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') s += '\\';
    s += c;
  }
  return s + "\"";
}

bool literalValue(const std::string& word, Variant& value) {
  using automation::equalsIgnoreCase;
  if (equalsIgnoreCase(word, "True") || equalsIgnoreCase(word, "False")) {
    value = Variant(equalsIgnoreCase(word, "True"));
  } else if (equalsIgnoreCase(word, "Nothing")) {
    value = Variant::nothing();
  } else if (equalsIgnoreCase(word, "Empty")) {
    value = Variant();
  } else if (equalsIgnoreCase(word, "Null")) {
    value = Variant::null();
  } else {
    const char first = word.empty() ? 0 : word[0];
    if (!(std::isdigit(static_cast<unsigned char>(first)) || first == '-' || first == '+' || first == '.')) return false;
    const auto number = automation::parseNumber(word);
    if (!number) return false;
    const double d = *number;
    if (word.find_first_of(".eE") == std::string::npos && d == std::floor(d)) {
      if (d >= std::numeric_limits<int16_t>::min() && d <= std::numeric_limits<int16_t>::max())
        value = Variant(static_cast<int16_t>(d));
      else if (d >= std::numeric_limits<int32_t>::min() && d <= std::numeric_limits<int32_t>::max())
        value = Variant(static_cast<int32_t>(d));
      else
        value = Variant(d);
    } else {
      value = Variant(d);
    }
  }
  return true;
}

std::string showValue(const Variant& v, const std::function<std::string(const automation::Object&)>& objectName) {
  switch (v.type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Missing:
      return "Missing";
    case VarType::Boolean:
      return v.boolean() ? "True" : "False";
    case VarType::String:
      return quote(v.string());
    case VarType::Object:
      return v.isNothing() ? "Nothing" : objectName(*v.object());
    default:
      return automation::toString(v);
  }
}

}  // namespace zadeve::cli
