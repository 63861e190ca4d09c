// FillBar: fills one bar from its toolbar section, the way bar set setup, rebuilding and
// floating need it. Layout stays suppressed while items are added so that the control
// lays itself out once, at the end.

#include "automation/conversions.h"
#include "automation/error.h"
#include "build/bar_builder.h"
#include "build/loaded_icon_sets.h"
#include "components/string_tokenizer.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"
#include "platform/picture.h"
#include "platform/profile_cache.h"

namespace zadeve::core {

using automation::toString;
using automation::toUpper;

namespace {

// The sets a bar names in its IconSets property ("1/3/4"), added before its buttons.
// A set that cannot be preloaded is skipped without a word: the first button that
// needs it loads it on demand and reports what is wrong.
void preloadIconSets(ZuzuzudLibrary& lib, const Toolbar& tb, std::string iconSets, LoadedIconSets& loaded) {
  while (!iconSets.empty()) {
    Variant token(components::processTokenizer().NextToken(iconSets, "/"));
    if (!automation::isNumeric(token)) continue;
    try {
      int16_t set = automation::toInteger(token);
      if (build::isLoaded(loaded, set)) continue;  // raises for a number the list cannot hold
      std::string entry = toString(lib.GetConfigValue("Functions", "IconSet" + std::to_string(set), ""));
      std::string file = components::processTokenizer().NextToken(entry, ",");
      tb.AddImageSet(platform::loadPicture(lib.CurrentWorkspace()->BarsBitmapsDir() + file), std::to_string(set));
      build::recordLoaded(loaded, set);
    } catch (const automation::AutomationError&) {
    }
  }
}

// Destructors and unload paths never throw, and neither does this: it runs while
// another failure is on its way to the caller.
void switchLayoutOnQuietly(const Toolbar& tb) noexcept {
  try {
    tb.SuppressLayout(false);
  } catch (...) {
  }
}

}  // namespace

void ZuzuzudLibrary::FillBar(const ObjectRef& tb, bool floating) {
  platform::ProfileCallScope oneCall;
  bool reportMissing = build::readReportMissing(*this);
  Toolbar bar(tb);
  bar.Reset();
  bar.SuppressLayout(true);

  auto property = [&](const char* key, const char* def) { return toString(KaTGetProp(tb, key, Variant(def))); };
  std::string name = property("Name", "");
  std::string home = toUpper(property("Home", "TOP"));
  std::string visible = toUpper(property("Visible", "NO"));
  std::string state = toUpper(property("State", "DOCKED"));
  std::string iconSets = property("IconSets", "");

  // A bar shows where its state says it lives: docked on the form or floating in a palette.
  bool docked = state == "DOCKED" && !floating;
  bool floatingHere = state == "FLOATING" && floating;
  bar.Visible(visible == "YES" && (docked || floatingHere));
  bar.Align(0);
  if (floatingHere || home == "TOP" || home == "BOTTOM")
    bar.Vertical(false);
  else if (home == "LEFT" || home == "RIGHT")
    bar.Vertical(true);

  std::string section = "Toolbar." + name;
  build::BarSizes sizes = build::readBarSizes(*this, section);
  build::applyBarSizes(bar, sizes);

  LoadedIconSets loaded;
  preloadIconSets(*this, bar, std::move(iconSets), loaded);

  build::BuildOperations ops{
      [&](const std::string& fn, std::string& field, int16_t& set, int16_t& index) {
        ResolveButtonImage(fn, section, tb, field, set, index, loaded);
      },
      [this](const std::string& messageTemplate, std::initializer_list<Variant> args) {
        ReportToHost(messageTemplate, args);
      },
  };
  build::BarBuilder builder(*this, bar, section, sizes, reportMissing, build::BuildStyle::FilledBar, std::move(ops));
  try {
    builder.addEntries();
  } catch (...) {
    // Only a report that the host itself refuses gets here; the bar must still lay out.
    switchLayoutOnQuietly(bar);
    throw;
  }
  bar.SuppressLayout(false);
}

}  // namespace zadeve::core
