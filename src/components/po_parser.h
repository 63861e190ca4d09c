#pragma once
// Reader for gettext PO text, the format of language files.
//
// Accepted: "#" comment lines (a "#," line carrying the flag fuzzy marks the next entry
// fuzzy; "#~" obsolete entries are comments and so ignored); entries of the form
//   [msgctxt "..."] msgid "..." [msgid_plural "..."] (msgstr "..." | msgstr[N] "..."...)
// where every string may go on over following lines that hold only quoted strings;
// the C escapes \a \b \f \n \r \t \v \\ \" \' \?, octal \ooo and hex \xhh; LF or CRLF
// line ends; a UTF-8 byte-order mark at the start. Bytes are kept as they are (no charset
// conversion).
//
// Anything else raises InvalidFileFormat (321), whose description names the file and the
// line: "Invalid file format: 'de.po', line 7: unterminated string".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/error.h"

namespace zadeve::components {

using automation::err::InvalidFileFormat;

struct PoEntry {
  std::optional<std::string> context;
  std::string msgid;
  std::optional<std::string> msgidPlural;
  std::vector<std::string> msgstr;  // one string, or one per plural form
  bool fuzzy = false;
  int line = 0;  // where the entry begins
};

// All entries of the text, the header entry (empty msgid) included. fileName is only used
// in error descriptions. A msgid given twice (in the same context) is an error.
std::vector<PoEntry> parsePo(std::string_view text, std::string_view fileName);

}  // namespace zadeve::components
