#include "cli/check_definitions.h"

#include <set>

#include "automation/conversions.h"
#include "automation/error.h"
#include "cli/check_definition.h"
#include "components/string_tokenizer.h"

namespace zadeve::cli::check {
namespace {

using automation::Variant;

constexpr std::string_view ToolbarPrefix = "Toolbar.";

std::optional<int> number(const std::string& text) {
  try {
    return automation::toInteger(Variant(text));
  } catch (const automation::AutomationError&) {
    return std::nullopt;
  }
}

bool isToolbar(const std::string& section) {
  return section.size() > ToolbarPrefix.size() &&
         platform::profileNamesEqual(std::string_view(section).substr(0, ToolbarPrefix.size()), ToolbarPrefix);
}

// Function names compare as profile keys do: without regard to ASCII case.
std::string folded(std::string name) { return automation::toUpper(name); }

// The function names the toolbars' buttons use; Button<n> keys no count reaches.
std::set<std::string> usedFunctions(CheckContext& ctx) {
  std::set<std::string> used;
  for (const auto& section : ctx.ini.sections()) {
    if (!isToolbar(section.name)) continue;
    // A count that is not a number stops the bar's build; the library says so when a view builds it.
    auto count = number(ctx.read(section.name, "ButtonCount", "0"));
    if (!count) continue;
    for (int n = 0; n < *count; ++n) {
      std::string value = ctx.read(section.name, "Button" + std::to_string(n));
      if (!value.empty() && value.front() != '!') used.insert(folded(value));
    }
    for (const auto& k : section.keys) {
      int n = 0;
      if (numberedKey(k.name, "Button", n) && n >= *count)
        ctx.problems.add({k.line, Severity::Warning,
                          k.name + " is beyond ButtonCount=" + std::to_string(*count) + " and is never read", "",
                          section.name.substr(ToolbarPrefix.size()), k.name});
    }
  }
  return used;
}

struct IconSetEntry {
  std::string file;
  int imageWidth = 16;
};

// A bitmap icon set's file and image width; nullopt for a special set or none.
std::optional<IconSetEntry> bitmapIconSet(const CheckContext& ctx, int set) {
  std::string entry = ctx.read("Functions", "IconSet" + std::to_string(set));
  if (entry.empty() || entry.front() == '!') return std::nullopt;
  IconSetEntry e;
  e.file = components::processTokenizer().NextToken(entry, ",");
  std::string width = components::processTokenizer().NextToken(entry, ",");
  if (!width.empty()) e.imageWidth = number(width).value_or(0);
  return e;
}

void checkIconSets(CheckContext& ctx, const IniSection& functions) {
  for (const auto& k : functions.keys) {
    int set = 0;
    if (!numberedKey(k.name, "IconSet", set)) continue;
    auto entry = bitmapIconSet(ctx, set);
    if (!entry) continue;
    const auto& bitmap = ctx.bitmap(entry->file);
    // A bitmap the library failed to load while building a view is reported already, but
    // as "not found" also where the file is there and no file to read.
    if (!bitmap.loaded && (!ctx.problems.hasLine(k.line) || bitmap.notAFile))
      ctx.problems.add({k.line, Severity::Error, "the bitmap of " + k.name + " does not load: " + bitmap.error, "", "",
                        k.name});
  }
}

void checkImageIndex(CheckContext& ctx, const IniKey& k, const Definition& d) {
  if (!d.showsImage) return;
  auto image = parseImageField(d.image);
  if (!image.set || !image.index || *image.index < 0) return;
  auto entry = bitmapIconSet(ctx, *image.set);
  if (!entry || entry->imageWidth <= 0) return;
  const auto& bitmap = ctx.bitmap(entry->file);
  if (!bitmap.loaded) return;
  const int images = bitmap.width / entry->imageWidth;
  if (*image.index >= images)
    ctx.problems.add({k.line, Severity::Error,
                      "image " + std::to_string(*image.index) + " is beyond the strip of IconSet" +
                          std::to_string(*image.set) + " (" + entry->file + " holds " + std::to_string(images) +
                          " images)",
                      "", "", k.name});
}

}  // namespace

void checkDefinitions(CheckContext& ctx, const components::TextCatalog* catalog, const std::string& languageFile) {
  const std::set<std::string> used = usedFunctions(ctx);
  const IniSection* functions = ctx.ini.section("Functions");
  if (!functions) return;
  checkIconSets(ctx, *functions);
  for (const auto& k : functions->keys) {
    int set = 0;
    if (platform::profileNamesEqual(k.name, "IconSetCount") || numberedKey(k.name, "IconSet", set)) continue;
    const std::string definition = ctx.read("Functions", k.name);
    const Definition d = parseDefinition(definition);
    if (!definition.empty() && !d.known)
      ctx.problems.add({k.line, Severity::Error,
                        "unknown type word \"" + d.type + "\": a button of " + k.name + " adds nothing", "", "",
                        k.name});
    checkImageIndex(ctx, k, d);
    if (catalog && d.text && !d.text->empty() && !catalog->translates(*d.text))
      ctx.problems.add({k.line, Severity::Warning, "\"" + *d.text + "\" has no translation in " + languageFile, "",
                        "", k.name});
    if (!used.contains(folded(k.name)))
      ctx.problems.add({k.line, Severity::Warning, "function " + k.name + " is defined but no toolbar uses it", "",
                        "", k.name});
  }
}

}  // namespace zadeve::cli::check
