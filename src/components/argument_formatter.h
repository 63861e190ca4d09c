#pragma once
// ArgumentFormatter: fills message templates.
//
// SubstituteArguments(text, a1..a9) scans text once from the left:
//  - "^1" .. "^9" become the text of that argument;
//  - "^n" (or "^N") becomes LineBreak, "\r\n": the texts end up in the host's message
//    boxes, and that is the line break those expect;
//  - "^^" becomes a single "^", so a template can show a caret before a digit;
//  - any other caret ("^0", "^x", a caret at the very end) stays as it is.
// Inserted argument texts are not scanned again: an argument "^2" stays "^2".
//
// The text of an argument:
//  - Missing (omitted), Empty, or an argument beyond those given: nothing;
//  - numbers and Booleans: their automation text (7 -> "7", 2.5 -> "2.5", True -> "True");
//  - Null: "Null";
//  - Nothing: "Nothing";
//  - an object: the text of its default value (the error object gives its number); when it
//    has no default value that can be shown, its class name in brackets, "[Collection]".
// An argument never makes the call fail: the formatter runs while errors are being reported.
//
// Automation face:
//   SubstituteArguments(Text As String ByRef, [a1] .. [a9] As Variant ByRef) As String   slot 1

#include <span>
#include <string>
#include <string_view>

#include "automation/member_table.h"

namespace zadeve::components {

inline constexpr std::string_view LineBreak = "\r\n";

class ArgumentFormatter : public automation::Dispatchable<ArgumentFormatter> {
 public:
  static const automation::MemberTable<ArgumentFormatter>& memberTable();

  // args[0] is ^1; arguments past the ninth are never referenced.
  std::string SubstituteArguments(std::string_view text,
                                  std::span<const automation::Variant> args) const;
};

// The text an argument gives in a template (rules above).
std::string argumentText(const automation::Variant& value);

// The one instance the library uses, created on first use and kept for the process.
ArgumentFormatter& processFormatter();

}  // namespace zadeve::components
