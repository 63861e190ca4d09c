#include "cli/check_definition.h"

#include "automation/conversions.h"
#include "automation/error.h"
#include "components/string_tokenizer.h"

namespace zadeve::cli::check {
namespace {

std::string next(std::string& source, std::string_view delimiter) {
  return components::processTokenizer().NextToken(source, delimiter);
}

}  // namespace

Definition parseDefinition(std::string rest) {
  Definition d;
  d.type = next(rest, ",");
  const std::string& t = d.type;
  if (t == "MENU") {
    d.known = true;
  } else if (t == "COMBO" || t == "SPIN") {
    d.known = true;
    next(rest, ",");
    d.text = next(rest, "|");
  } else if (t == "PUSH" || t == "MENUITEM" || t == "TOGGLE") {
    d.known = d.showsImage = d.loadsImage = true;
    d.image = next(rest, ",");
    d.text = next(rest, "|");
  } else if (t == "DIP" || t == "BUMP") {
    d.known = d.loadsImage = true;
    d.image = next(rest, "/");
    next(rest, ",");
    d.text = next(rest, "|");
  }
  return d;
}

ImageField parseImageField(std::string field) {
  ImageField f;
  std::string set = next(field, "/");
  if (set.empty()) return f;
  // The library's own conversion: a text that is not a number counts as 0; one too large
  // for it is the library's to report.
  try {
    f.set = automation::roundToInteger(automation::val(set));
    std::string index = next(field, "/");
    if (!index.empty()) f.index = automation::roundToInteger(automation::val(index));
  } catch (const automation::AutomationError&) {
  }
  return f;
}

}  // namespace zadeve::cli::check
