// Icon sets: a button's image field "set/index[/rest]" becomes an icon-set number and an
// image index, loading the set into the control the first time a build needs it. One
// button's image problem never stops a build: each failing step is reported with the
// token taken last and the next step runs.

#include <new>

#include "automation/conversions.h"
#include "automation/error.h"
#include "build/bar_builder.h"
#include "build/loaded_icon_sets.h"
#include "components/string_tokenizer.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"
#include "platform/picture.h"

namespace zadeve::core {

using automation::AutomationError;
using automation::toString;

namespace {

constexpr std::string_view SymbolPrefix = "Create Symbol:";
constexpr int32_t SymbolKeyColour = 16711935;  // magenta, &HFF00FF

std::string next(std::string& source, std::string_view delimiter) {
  return components::processTokenizer().NextToken(source, delimiter);
}

// The usual number conversion of the image field: not a number counts as 0.
int16_t fieldNumber(const std::string& token) { return automation::roundToInteger(automation::val(token)); }

// "Create Symbol:Valve\\Large" draws the symbol Valve.
std::string symbolName(const std::string& function) {
  std::string symbol = function.substr(SymbolPrefix.size());
  if (auto cut = symbol.find("\\\\"); cut != std::string::npos) symbol.erase(cut);
  return symbol;
}

// A size field of the toolbar section: anything but a number counts as 16.
int16_t sizeOr16(const Variant& text) {
  return automation::isNumeric(text) ? automation::toInteger(text) : int16_t(16);
}

}  // namespace

void ZuzuzudLibrary::ResolveButtonImage(const std::string& name, const std::string& section, const ObjectRef& tb,
                                        std::string& imageField, int16_t& iconSetNumber, int16_t& imageIndex,
                                        LoadedIconSets& loaded) {
  std::string lastToken;  // what a report names: the set, a width or height, or the index
  auto step = [&](auto&& body) {
    try {
      body();
      return true;
    } catch (const AutomationError& e) {
      ReportToHost(build::WhileProcessingReport, {Variant(e.description()), Variant(lastToken)});
      return false;
    } catch (const std::bad_alloc&) {
      // A picture too large for the memory left is one more picture that will not load.
      ReportToHost(build::WhileProcessingReport, {Variant("Out of memory"), Variant(lastToken)});
      return false;
    }
  };

  iconSetNumber = -1;
  imageIndex = -1;
  std::string untouched = imageField;
  lastToken = next(imageField, "/");
  if (lastToken.empty()) {
    imageField = std::move(untouched);
    return;
  }

  // A number too large for the runtime is reported once; with no set to load, the button
  // keeps set -1 and whatever index its field gives.
  int16_t set = -1;
  if (step([&] { set = fieldNumber(lastToken); })) {
    std::string entry;
    step([&] { entry = toString(GetConfigValue("Functions", "IconSet" + std::to_string(set), "")); });

    if (!entry.empty() && entry.front() == '!') {
      step([&] { LoadSymbolPalette(tb, section, entry, name, loaded, set, imageIndex, iconSetNumber); });
      next(imageField, "/");
      return;
    }

    bool alreadyLoaded = true;
    step([&] { alreadyLoaded = build::isLoaded(loaded, set); });
    if (!alreadyLoaded) {
      std::string file;
      int16_t width = 16, height = 15;
      step([&] {
        std::string sizes = toString(GetConfigValue("Functions", "IconSet" + std::to_string(set), ""));
        file = next(sizes, ",");
        lastToken = next(sizes, ",");
        if (!lastToken.empty()) width = automation::toInteger(Variant(lastToken));
        lastToken = next(sizes, ",");
        if (!lastToken.empty()) height = automation::toInteger(Variant(lastToken));
      });
      ObjectRef picture;
      step([&] { picture = platform::loadPicture(CurrentWorkspace_->BarsBitmapsDir() + file); });
      // Added even when the picture did not load (Nothing then): a control may count on
      // every set a bar uses being added, and one that refuses says so like any step.
      step([&] { Toolbar(tb).AddImageSet(picture, std::to_string(set), "", width, height); });
      // Recorded even when loading failed, so later buttons of this build do not retry it.
      step([&] { build::recordLoaded(loaded, set); });
    }
    iconSetNumber = set;
  }

  lastToken = next(imageField, "/");
  if (!lastToken.empty()) step([&] { imageIndex = fieldNumber(lastToken); });
}

// Symbol palette sets are never recorded as loaded: each symbol button adds a one-image
// set of its own and refers to it through the control's latest set index.
void ZuzuzudLibrary::LoadSymbolPalette(const ObjectRef& tb, const std::string& section, std::string& entry,
                                       const std::string& name, LoadedIconSets& /*loaded*/, int16_t /*numberRead*/,
                                       int16_t& imageIndex, int16_t& iconSetNumber) {
  std::string kind = next(entry, ",");
  int16_t size = sizeOr16(GetConfigValue(section, "ButtonSize", "16"));
  int16_t height = std::min(sizeOr16(GetConfigValue(section, "BitmapHeight", "16")), size);
  int16_t width = std::min(sizeOr16(GetConfigValue(section, "BitmapWidth", "16")), size);

  Toolbar bar(tb);
  if (kind == "!SYMBOL_PALETTE") {
    ShellApp host(CurrentWorkspace_->ShellApp());
    if (name.starts_with(SymbolPrefix)) {
      HostView(host.MainView()).SetShapePictureInfo(height, width, 0, SymbolKeyColour, symbolName(name), 1);
      // The symbol call passes height before width, the name where a bitmap set has its number.
      bar.AddImageSet(HostView(host.locView()).ShapePicture(), "", "Symbols", height, width);
    } else if (name == "EditSymbolPalette") {
      bar.AddImageSet(host.GetBitmap());
    }
  }
  iconSetNumber = bar.IconSetIndex();
  imageIndex = 0;
}

}  // namespace zadeve::core
