// PO language files: arbitrary text through the parser and through TextCatalog. A file is
// either read, and then every entry that translates does so, or refused with error 321
// naming the file and a line of it, and then the catalogue keeps what it had.

#include <algorithm>

#include "automation/error.h"
#include "components/po_parser.h"
#include "components/text_catalog.h"
#include "fuzz_support.h"

using namespace zadeve;
using components::PoEntry;

namespace {

constexpr std::string_view Canary = "msgid \"fuzz canary\"\nmsgstr \"still here\"\n";

// The line numbers an error may name: every line of the text, and one past its end.
bool namesALineOf(const automation::AutomationError& e, std::string_view name, std::string_view text) {
  const std::string prefix = "Invalid file format: '" + std::string(name) + "', line ";
  if (e.number() != automation::err::InvalidFileFormat || !e.description().starts_with(prefix)) return false;
  const long line = std::strtol(e.description().c_str() + prefix.size(), nullptr, 10);
  const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
  return line >= 1 && line <= lines;
}

bool translates(const PoEntry& e) {
  return !e.msgid.empty() && !e.fuzzy && !e.msgidPlural && !e.msgstr.front().empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<PoEntry> entries;
  bool parsed = true;
  try {
    entries = components::parsePo(text, "fuzz.po");
  } catch (const automation::AutomationError& e) {
    FUZZ_CHECK(namesALineOf(e, "fuzz.po", text), "a refusal that is not 321 naming a line of the file");
    parsed = false;
  }
  for (const PoEntry& e : entries) {
    FUZZ_CHECK(!e.msgstr.empty(), "an entry without msgstr");
    FUZZ_CHECK(e.msgidPlural || e.msgstr.size() == 1, "a singular entry with plural forms");
    FUZZ_CHECK(e.line >= 1, "an entry without its line");
  }

  auto& scratch = fuzz::ScratchFolder::instance();
  components::TextCatalog catalog;
  catalog.LoadLanguageFile(scratch.write("canary.po", Canary));
  const std::string path = scratch.write("fuzz.po", text);
  try {
    catalog.LoadLanguageFile(path);
    FUZZ_CHECK(parsed, "the catalogue took a file the parser refuses");
  } catch (const automation::AutomationError& e) {
    FUZZ_CHECK(!parsed, "the catalogue refused a file the parser reads");
    FUZZ_CHECK(namesALineOf(e, path, text), "the catalogue's refusal does not name the file and a line");
    FUZZ_CHECK(catalog.Translate("fuzz canary") == "still here", "a refused file changed the catalogue");
    return 0;
  }
  size_t translating = 0;
  for (const PoEntry& e : entries) {
    if (!translates(e)) continue;
    ++translating;
    const std::string got = e.context ? catalog.translateInContext(*e.context, e.msgid) : catalog.Translate(e.msgid);
    FUZZ_CHECK(got == e.msgstr.front(), "an entry does not translate to its msgstr");
  }
  FUZZ_CHECK(catalog.size() == translating, "the catalogue holds other than the translating entries");
  return 0;
}
