#include "automation/conversions.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "automation/error.h"

namespace zadeve::automation {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// What a whole text says as a number: none, one, or one beyond what a Double holds.
struct NumberText {
  enum class Kind { NotANumber, Number, TooLarge } kind = Kind::NotANumber;
  double value = 0;
};

NumberText number(double d) { return {NumberText::Kind::Number, d}; }
NumberText notANumber() { return {}; }
NumberText tooLarge() { return {NumberText::Kind::TooLarge, 0}; }

NumberText readRadix(std::string_view digits, int radix) {
  if (digits.empty()) return notANumber();
  uint64_t n = 0;
  bool large = false;
  for (char c : digits) {
    int d;
    if (isDigit(c)) d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return notANumber();
    if (d >= radix) return notANumber();
    // Past 32 bits the text is still read to the end: a bad digit later is a mismatch.
    if (!large) n = n * radix + d;
    large = large || n > 0xFFFFFFFFull;
  }
  if (large) return tooLarge();
  // Up to four hex digits form a 16-bit value, more a 32-bit one; both are signed.
  if (n <= 0xFFFF && digits.size() <= (radix == 16 ? 4u : 6u)) return number(double(int16_t(uint16_t(n))));
  return number(double(int32_t(uint32_t(n))));
}

enum class Grouping { No, Commas };

// Reads a decimal number at the start of `s`; returns the number of characters used.
// With Grouping::Commas a comma between two digits of the whole part is a thousands
// separator, as in the en-US locale the runtime converts with.
size_t scanDecimal(std::string_view s, double& out, Grouping grouping = Grouping::No) {
  size_t i = 0;
  std::string buf;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) buf += s[i++];
  size_t mantissa = 0;
  auto separator = [&](size_t at) {
    return grouping == Grouping::Commas && s[at] == ',' && mantissa > 0 && isDigit(s[at - 1]) && at + 1 < s.size() &&
           isDigit(s[at + 1]);
  };
  while (i < s.size() && (isDigit(s[i]) || separator(i))) {
    if (s[i] != ',') buf += s[i], ++mantissa;
    ++i;
  }
  if (i < s.size() && s[i] == '.') {
    buf += s[i++];
    while (i < s.size() && isDigit(s[i])) buf += s[i++], ++mantissa;
  }
  if (mantissa == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    std::string exp = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
    size_t digits = 0;
    while (j < s.size() && isDigit(s[j])) exp += s[j++], ++digits;
    if (digits) {
      buf += exp;
      i = j;
    }
  }
  // Beyond Double's range strtod gives infinity; below it, 0 (the runtime's underflow).
  out = std::strtod(buf.c_str(), nullptr);
  return i;
}

NumberText readNumberText(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  std::string_view s = text.substr(b, e - b);
  if (s.empty()) return notANumber();
  if (s.size() > 2 && s[0] == '&') {
    char p = s[1];
    if (p == 'H' || p == 'h') return readRadix(s.substr(2), 16);
    if (p == 'O' || p == 'o') return readRadix(s.substr(2), 8);
    return notANumber();
  }
  double d = 0;
  size_t used = scanDecimal(s, d, Grouping::Commas);
  if (used != s.size()) return notANumber();
  return std::isfinite(d) ? number(d) : tooLarge();
}

double numberOf(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Integer: return v.integer();
    case VarType::Long: return v.long_();
    case VarType::Single: return v.single();
    case VarType::Double: return v.double_();
    case VarType::Boolean: return v.boolean() ? -1 : 0;
    case VarType::String: {
      NumberText n = readNumberText(v.string());
      if (n.kind == NumberText::Kind::Number) return n.value;
      // A number the runtime cannot hold overflows; it is not a mismatch.
      if (n.kind == NumberText::Kind::TooLarge) raise(err::Overflow);
      if (equalsIgnoreCase(v.string(), "True")) return -1;
      if (equalsIgnoreCase(v.string(), "False")) return 0;
      raise(err::TypeMismatch);
    }
    default: raise(err::TypeMismatch);
  }
}

std::string tidyExponent(std::string s) {
  // printf writes at least two exponent digits, as the runtime does; drop a third zero.
  auto e = s.find('E');
  if (e != std::string::npos && s.size() - e == 5 && s[e + 2] == '0') s.erase(e + 2, 1);
  return s;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
  NumberText n = readNumberText(text);
  if (n.kind != NumberText::Kind::Number) return std::nullopt;
  return n.value;
}

bool isNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Boolean: return true;
    case VarType::String: return parseNumber(v.string()).has_value();
    default: return false;
  }
}

double val(std::string_view text) {
  // Blanks are skipped anywhere in the leading number ("1 2" is 12).
  std::string compact;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    compact += c;
  }
  std::string_view s = compact;
  if (s.size() > 1 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
    int radix = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
    size_t n = 2;
    while (n < s.size() && std::isxdigit(static_cast<unsigned char>(s[n])) &&
           (radix == 16 || (s[n] >= '0' && s[n] <= '7')))
      ++n;
    NumberText hex = readRadix(s.substr(2, n - 2), radix);
    return hex.kind == NumberText::Kind::Number ? hex.value : 0;
  }
  double d = 0;
  if (!scanDecimal(s, d)) return 0;
  if (!std::isfinite(d)) raise(err::Overflow);
  return d;
}

int32_t addLong(int32_t a, int32_t b) { return roundToLong(double(a) + double(b)); }
int32_t subtractLong(int32_t a, int32_t b) { return roundToLong(double(a) - double(b)); }

double leadingNumber(std::string_view text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  std::string number;
  if (text[i] == '+' || text[i] == '-') number += text[i++];
  bool digits = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) number += text[i], digits = true;
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) number += text[i], digits = true;
  }
  return digits ? std::strtod(number.c_str(), nullptr) : 0;
}

int16_t roundToInteger(double d) {
  double r = std::nearbyint(d);  // the default rounding mode is half to even
  if (!(r >= -32768.0 && r <= 32767.0)) raise(err::Overflow);
  return static_cast<int16_t>(r);
}

int32_t roundToLong(double d) {
  double r = std::nearbyint(d);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) raise(err::Overflow);
  return static_cast<int32_t>(r);
}

int16_t toInteger(const Variant& v) {
  if (v.type() == VarType::Integer) return v.integer();
  return roundToInteger(numberOf(v));
}

int32_t toLong(const Variant& v) {
  if (v.type() == VarType::Long) return v.long_();
  return roundToLong(numberOf(v));
}

float toSingle(const Variant& v) {
  double d = numberOf(v);
  if (std::fabs(d) > std::numeric_limits<float>::max()) raise(err::Overflow);
  return static_cast<float>(d);
}

double toDouble(const Variant& v) { return numberOf(v); }

bool toBoolean(const Variant& v) {
  if (v.type() == VarType::Boolean) return v.boolean();
  return numberOf(v) != 0;
}

std::string formatDouble(double d) {
  if (d == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15G", d);
  return tidyExponent(buf);
}

std::string formatSingle(float f) {
  if (f == 0) return "0";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.7G", static_cast<double>(f));
  return tidyExponent(buf);
}

std::string toString(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return {};
    case VarType::Null: raise(err::InvalidUseOfNull);
    case VarType::Integer: return std::to_string(v.integer());
    case VarType::Long: return std::to_string(v.long_());
    case VarType::Single: return formatSingle(v.single());
    case VarType::Double: return formatDouble(v.double_());
    case VarType::String: return v.string();
    case VarType::Boolean: return v.boolean() ? "True" : "False";
    default: raise(err::TypeMismatch);
  }
}

ObjectRef toObject(const Variant& v) {
  if (!v.isObject()) raise(err::TypeMismatch);
  return v.object();
}

Variant convertTo(const Variant& v, VarType type) {
  if (v.type() == type) return v;
  switch (type) {
    case VarType::Integer: return toInteger(v);
    case VarType::Long: return toLong(v);
    case VarType::Single: return toSingle(v);
    case VarType::Double: return toDouble(v);
    case VarType::String: return toString(v);
    case VarType::Boolean: return toBoolean(v);
    case VarType::Object: return toObject(v);
    case VarType::Variant: return v;
    default: raise(err::TypeMismatch);
  }
}

std::string toUpper(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return r;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  if (a == b) return true;  // names mostly come spelled as declared
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace zadeve::automation
