#pragma once
// The words of a `zadeve call` script line, and the way values are written back.
//
// A line is words split at blanks; a word in double quotes is text and may hold blanks,
// \" and \\; "#" outside quotes starts a comment that runs to the end of the line.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "automation/variant.h"

namespace zadeve::cli {

// A mistake in the script itself (not an automation error).
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Word {
  std::string text;
  bool quoted = false;
  friend bool operator==(const Word&, const Word&) = default;
};

// Raises ScriptError for a quote left open.
std::vector<Word> splitWords(std::string_view line);

// A quoted text as a script would write it.
std::string quote(std::string_view text);

// The value of a bare word that is no name: True, False, Nothing, Empty, Null or a number
// (Integer when it fits, then Long, else Double); false when it is none of these.
bool literalValue(const std::string& word, automation::Variant& value);

// A value as the script prints it: -1, 2.5, "text", True, Empty, Nothing; objects by
// `objectName`.
std::string showValue(const automation::Variant& v, const std::function<std::string(const automation::Object&)>& objectName);

}  // namespace zadeve::cli
