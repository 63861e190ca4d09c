#include "build/bar_builder.h"

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "components/string_tokenizer.h"

namespace zadeve::build {

using automation::AutomationError;
using automation::toString;

namespace {

std::string next(std::string& source, std::string_view delimiter) {
  return components::processTokenizer().NextToken(source, delimiter);
}

int16_t readSize(core::ZuzuzudLibrary& lib, const std::string& section, const char* key, const char* def) {
  return automation::toInteger(lib.GetConfigValue(section, key, def));
}

// The a and b of a push button: anything that is not a number counts as 0.
double numberOrZero(const std::string& text) {
  Variant v(text);
  return automation::isNumeric(v) ? automation::toDouble(v) : 0.0;
}

}  // namespace

bool readReportMissing(core::ZuzuzudLibrary& lib) {
  return toString(lib.GetConfigValue("Debug", "ReportMissing", "0")) != "0";
}

BarSizes readBarSizes(core::ZuzuzudLibrary& lib, const std::string& section) {
  BarSizes s;
  s.buttonCount = readSize(lib, section, "ButtonCount", "0");
  s.buttonSize = readSize(lib, section, "ButtonSize", "16");
  s.bitmapWidth = std::min(readSize(lib, section, "BitmapWidth", "16"), s.buttonSize);
  s.bitmapHeight = std::min(readSize(lib, section, "BitmapHeight", "16"), s.buttonSize);
  return s;
}

void applyBarSizes(const core::Toolbar& tb, const BarSizes& sizes) {
  tb.SetImageSize(sizes.bitmapWidth, sizes.bitmapHeight);
  tb.SetBarHeight(sizes.buttonSize);
}

BarBuilder::BarBuilder(core::ZuzuzudLibrary& lib, core::Toolbar tb, std::string section, BarSizes sizes,
                       bool reportMissing, BuildStyle style, BuildOperations ops)
    : lib_(lib),
      tb_(std::move(tb)),
      section_(std::move(section)),
      sizes_(sizes),
      reportMissing_(reportMissing),
      style_(style),
      ops_(std::move(ops)) {
  // A host bar's spins start Empty; a filled bar's start at Single 0.
  if (!hostBar())
    for (auto& v : spin_) v = Variant(0.0f);
}

void BarBuilder::addEntries() {
  for (int32_t n = 0; n < sizes_.buttonCount; ++n) addEntry(static_cast<int16_t>(n));
}

void BarBuilder::addEntry(int16_t n) {
  std::string entry;
  try {
    entry = toString(lib_.GetConfigValue(section_, "Button" + std::to_string(n), ""));
    if (entry.empty()) {
      if (reportMissing_) ops_.report(MissingButtonReport, {Variant(n)});
    } else if (entry.front() == '!') {
      // Special entries compare whole and with case; breaks are shown as gaps.
      if (entry == "!GAP" || entry == "!SOFTBREAK" || entry == "!BREAK")
        tb_.AddGap();
      else if (entry == "!SEPARATOR")
        tb_.AddSeparator();
      else if (entry != "!MXSTART" && entry != "!MXEND")
        ops_.report(UnknownFunctionReport, {Variant(entry)});
    } else {
      std::string definition = toString(lib_.GetConfigValue("Functions", entry, ""));
      // Reported, then built from the empty definition, which adds nothing.
      if (definition.empty()) ops_.report(MissingFunctionReport, {Variant(entry)});
      addFunction(entry, std::move(definition));
    }
  } catch (const AutomationError& e) {
    if (hostBar()) throw;
    // A control that refuses one item must not cost the user the rest of the bar: the
    // failure is reported naming the entry, and the next entry is built.
    ops_.report(WhileProcessingReport, {Variant(e.description()), Variant(entry)});
  }
}

void BarBuilder::addFunction(const std::string& name, std::string definition) {
  std::string type = next(definition, ",");
  if (type == "MENU") {
    if (hostBar())
      tb_.AddMenu(name, definition);
    else
      tb_.AddMenu(name);
  } else if (type == "COMBO") {
    addCombo(name, std::move(definition));
  } else if (type == "SPIN") {
    addSpin(name, std::move(definition));
  } else if (type == "PUSH" || (type == "MENUITEM" && !hostBar())) {
    addPushOrMenuItem(type, name, std::move(definition));
  } else if (type == "TOGGLE") {
    addToggle(name, std::move(definition));
  } else if (type == "DIP" || type == "BUMP") {
    addPanel(name, std::move(definition));
  }
  // Any other type word adds nothing and is not reported.
}

void BarBuilder::addCombo(const std::string& name, std::string rest) {
  std::string f2 = next(rest, ",");
  std::string text = next(rest, "|");
  if (hostBar())
    tb_.AddCombo(name, rest);  // a host bar's combo gets what follows the "|"
  else
    tb_.AddCombo(name, f2, translate(text));
}

void BarBuilder::addSpin(const std::string& name, std::string rest) {
  readSpinFields(next(rest, ","));
  if (hostBar())
    tb_.AddSpin(name, spin_, rest);
  else
    tb_.AddSpin(name, spin_, translate(next(rest, "|")));
}

void BarBuilder::readSpinFields(std::string fields) {
  for (auto& value : spin_) {
    std::string field = next(fields, "/");
    if (field.empty()) continue;
    Variant text(field);
    value = hostBar() ? Variant(automation::toDouble(text)) : Variant(automation::toSingle(text));
  }
}

void BarBuilder::addPushOrMenuItem(const std::string& type, const std::string& name, std::string rest) {
  std::string image = next(rest, ",");
  std::string text = translate(next(rest, "|"));
  ImageReference img = resolve(name, std::move(image));
  if (type == "MENUITEM") {
    tb_.AddMenuItem(name, img.reference, img.remainder, text);
    return;
  }
  next(rest, "~");  // x: read and not used
  double a = numberOrZero(next(rest, "~"));
  double b = numberOrZero(rest);
  tb_.AddPushButton(name, img.reference, img.remainder, text, a, b, sizes_.buttonSize);
}

void BarBuilder::addToggle(const std::string& name, std::string rest) {
  std::string image = next(rest, ",");
  std::string text = hostBar() ? rest : translate(next(rest, "|"));
  ImageReference img = resolve(name, std::move(image));
  tb_.AddToggleButton(name, img.reference, img.remainder, text, sizes_.buttonSize);
}

void BarBuilder::addPanel(const std::string& name, std::string rest) {
  resolve(name, next(rest, "/"));  // only for loading the icon set
  std::string p = next(rest, ",");
  bool spring = !p.empty() && p.front() == '!';
  if (spring) p.erase(0, 1);
  if (hostBar())
    tb_.AddPanel(name, p, Variant::missing(), rest);  // the control applies its own default
  else
    // A Boolean, not the Integer -1: a control written in another language binds its
    // by-reference Boolean parameter to nothing else.
    tb_.AddPanel(name, p, Variant(spring), translate(next(rest, "|")));
}

BarBuilder::ImageReference BarBuilder::resolve(const std::string& name, std::string imageField) {
  int16_t set = -1, index = -1;
  ops_.resolveImage(name, imageField, set, index);
  return {std::to_string(set) + "." + std::to_string(index), std::move(imageField)};
}

std::string BarBuilder::translate(const std::string& text) const {
  if (hostBar()) return text;
  const auto& catalog = lib_.CurrentWorkspace()->LanguageCatalog();
  // Before InitialiseZADEVE there is no catalogue: texts are shown as written.
  if (!catalog) return text;
  Variant t(text), option(int32_t(0));
  return toString(automation::callMethod(*catalog, "Translate", {automation::byRef(t), automation::byRef(option)}));
}

}  // namespace zadeve::build
