#pragma once
// StringTokenizer: takes strings apart from the left, one token per call.
//
// NextToken(source, delimiter) returns the text before the first occurrence of delimiter
// and removes that text and the delimiter from source.
//  - Without the delimiter in source, it returns the whole source and leaves source empty.
//  - An empty source gives an empty token (and source stays empty).
//  - The delimiter may be longer than one character; it matches byte for byte, case
//    included.
//  - An empty delimiter never occurs, so it returns the whole source and empties it.
//
// Automation face:
//   NextToken(Source As String ByRef, Delimiter As String ByRef) As String   slot 1
// The shortened source is written back to a by-reference caller (a source passed as another
// type comes back as a String).

#include <string>
#include <string_view>

#include "automation/member_table.h"

namespace zadeve::components {

class StringTokenizer : public automation::Dispatchable<StringTokenizer> {
 public:
  static const automation::MemberTable<StringTokenizer>& memberTable();

  std::string NextToken(std::string& source, std::string_view delimiter) const;
};

// The one instance the library uses, created on first use and kept for the process.
StringTokenizer& processTokenizer();

}  // namespace zadeve::components
