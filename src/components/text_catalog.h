#pragma once
// TextCatalog: translates the texts the library shows, from a gettext PO language file.
//
// LoadLanguageFile(path) reads the file (format in po_parser.h) and replaces whatever was
// loaded before; a load that fails leaves the catalogue as it was.
//  - missing file: error 53, "File not found: '<path>'";
//  - a path that cannot be read (a folder, a FIFO or a device, refused without waiting;
//    no permission): error 75,
//    "Path/File access error: '<path>'";
//  - malformed content: error 321 (InvalidFileFormat), naming the file and the line.
// Entries that do not translate: the header (empty msgid), fuzzy entries, entries with an
// empty msgstr, and plural entries (a text alone says nothing about a count). Entries with
// a msgctxt translate only when asked in that context, so never through Translate.
//
// Translate(text, option) returns the translation when the catalogue has one, else text
// unchanged; without a loaded file every text comes back unchanged. The option is
// reserved: every value is accepted and none changes the result (the library passes 0).
//
// Automation face:
//   LoadLanguageFile(Path As String ByRef)                               slot 1
//   Translate(Text As String ByRef, [Option As Long ByRef = 0]) As String  slot 2

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "automation/member_table.h"
#include "components/po_parser.h"  // InvalidFileFormat

namespace zadeve::components {

using automation::err::PathFileAccess;
inline constexpr int32_t PathFileAccessError = PathFileAccess;

class TextCatalog : public automation::Dispatchable<TextCatalog> {
 public:
  static const automation::MemberTable<TextCatalog>& memberTable();

  void LoadLanguageFile(const std::string& path);
  std::string Translate(std::string_view text, int32_t option = 0) const;
  std::string translateInContext(std::string_view context, std::string_view text) const;

  size_t size() const { return translations_.size(); }
  // Whether the loaded file translates the text, also into the same words ("Zoom").
  bool translates(std::string_view text) const { return translations_.find(text) != translations_.end(); }

 private:
  struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  // Keyed by msgid, or by context, "\x04" and msgid for entries with a context.
  std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> translations_;
};

// The one instance the library uses, created on first use and kept for the process.
TextCatalog& processCatalog();

}  // namespace zadeve::components
