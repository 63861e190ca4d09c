#include "cli/check_views.h"

#include <map>

#include "automation/conversions.h"
#include "automation/error.h"
#include "build/bar_builder.h"
#include "cli/check_definition.h"
#include "core/message_format.h"
#include "vizevore/revivezav.h"

namespace zadeve::cli::check {
namespace {

using automation::Variant;

constexpr std::string_view ViewSuffix = ".Toolbars";

// A field of a bar entry as KaTSetup and KaTGetProp find it: after the first "key=",
// with case, up to the next ";".
std::optional<std::string> entryField(const std::string& entry, const std::string& key) {
  size_t p = entry.find(key + "=");
  if (p == std::string::npos) return std::nullopt;
  p += key.size() + 1;
  return entry.substr(p, entry.find(';', p) - p);
}

// A count as the library converts it; nullopt where the library fails.
std::optional<int> count(const std::string& text) {
  try {
    return automation::toInteger(Variant(text));
  } catch (const automation::AutomationError&) {
    return std::nullopt;
  }
}

struct BarEntry {
  std::string key;  // "Bar3"
  std::string name;
  int line = 0;
};

// At most `most` characters of `text`, marked where it was shortened.
std::string excerpt(const std::string& text, size_t most = 40) {
  return text.size() <= most ? text : text.substr(0, most) + "...";
}

// The keys of the fields that the cut at `at` loses or shortens.
std::string fieldsCut(const std::string& whole, size_t at) {
  std::string keys;
  for (size_t begin = 0; begin < whole.size();) {
    const size_t end = std::min(whole.find(';', begin), whole.size());
    const size_t eq = whole.find('=', begin);
    if (end > at && eq < end) keys += (keys.empty() ? "" : ", ") + whole.substr(begin, eq - begin);
    begin = end + 1;
  }
  return keys;
}

// A Button<n> entry and what the builder makes of it.
struct Button {
  std::string key, value;
  enum class Kind { Empty, Special, Function } kind = Kind::Empty;
  Definition definition;
  int itemsBefore = 0;  // items the bar holds when the builder comes to this entry
  bool addsItem = false;
};

std::vector<Button> buttonsOf(const CheckContext& ctx, const std::string& section) {
  std::vector<Button> buttons;
  const int n = count(ctx.read(section, "ButtonCount", "0")).value_or(0);
  int items = 0;
  for (int i = 0; i < n; ++i) {
    Button b;
    b.key = "Button" + std::to_string(i);
    b.value = ctx.read(section, b.key);
    b.itemsBefore = items;
    if (b.value.empty()) {
      b.kind = Button::Kind::Empty;
    } else if (b.value.front() == '!') {
      b.kind = Button::Kind::Special;
      b.addsItem = b.value == "!GAP" || b.value == "!SOFTBREAK" || b.value == "!BREAK" || b.value == "!SEPARATOR";
    } else {
      b.kind = Button::Kind::Function;
      b.definition = parseDefinition(ctx.read("Functions", b.value));
      b.addsItem = b.definition.known;
    }
    items += b.addsItem;
    buttons.push_back(std::move(b));
  }
  return buttons;
}

std::string formatted(const char* messageTemplate, const Variant& argument) {
  return core::FormatMessageText(messageTemplate, std::span<const Variant>(&argument, 1));
}

}  // namespace

class ViewCheck {
 public:
  ViewCheck(CheckContext& ctx, const host::ToolbarManager& tbm, std::string section)
      : ctx_(ctx), tbm_(tbm), section_(std::move(section)),
        view_(section_.substr(0, section_.size() - ViewSuffix.size())), base_(tbm.count()) {}

  const std::string& view() const { return view_; }

  // What KaTSetup reads of the section; with `findings`, also what it passes over without
  // a word.
  void readEntries(bool findings) {
    auto barCount = count(ctx_.read(section_, "BarCount", "0"));
    if (!barCount || *barCount < 0 || *barCount > 20) return;  // the library says so itself
    std::map<std::string, size_t> named;  // entries by upper-cased name: section names know no case
    for (int n = 0; n < *barCount; ++n) {
      std::string key = "Bar" + std::to_string(n);
      std::string entry = ctx_.read(section_, key);
      if (entry.empty()) continue;
      made_.push_back({key, entryField(entry, "Name").value_or(""), ctx_.ini.lineOf(section_, key)});
      if (findings) findInEntry(made_.size() - 1, entry, named);
    }
    if (!findings) return;
    if (const IniSection* section = ctx_.ini.section(section_))
      for (const auto& k : section->keys) {
        int n = 0;
        if (numberedKey(k.name, "Bar", n) && n >= *barCount)
          add(k.line, Severity::Warning,
              k.name + " is beyond BarCount=" + std::to_string(*barCount) + " and is never read", "", k.name);
      }
  }

  // The reports that follow come from filling the bar of the `index`th entry again, as
  // KaTFloat fills its palette; a bar that setup makes is found by counting instead.
  void refilling(size_t index) {
    refill_ = index;
    bar_ = -1;
  }

  // A MsgBoxSub report, heard while the bar it concerns is being filled.
  void heard(const std::string& text) {
    const int made = refill_ ? static_cast<int>(*refill_) + 1 : tbm_.count() - base_;
    if (made <= 0 || made > static_cast<int>(made_.size())) {
      add(ctx_.ini.lineOf(section_, "BarCount"), Severity::Error, ctx_.shown(text), "", "");
      return;
    }
    if (made - 1 != bar_) {
      bar_ = made - 1;
      cursor_ = 0;
    }
    const BarEntry& entry = made_[bar_];
    const std::string toolbar = "Toolbar." + entry.name;
    auto [at, added] = buttons_.try_emplace(toolbar);
    if (added) at->second = buttonsOf(ctx_, toolbar);
    const auto& buttons = at->second;

    int items = 0;
    if (auto bar = automation::objectAs<vizevore::ReVivezav>(tbm_.bars().back())) items = bar->itemCount();
    for (size_t i = cursor_; i < buttons.size() && buttons[i].itemsBefore <= items; ++i) {
      const Button& b = buttons[i];
      if (b.itemsBefore != items || !explains(b, i, text)) continue;
      cursor_ = i;
      add(lineFor(b, toolbar), Severity::Error, ctx_.shown(text), entry.name, b.key);
      return;
    }
    add(entry.line, Severity::Error, ctx_.shown(text), entry.name, entry.key);
  }

  // The library's own message boxes: they end setup, in the bar being filled or before.
  void shown(const std::vector<std::string>& messages, int barsMade) {
    for (const auto& text : messages) {
      if (barsMade <= 0 || barsMade > static_cast<int>(made_.size())) {
        add(ctx_.ini.lineOf(section_, "BarCount"), Severity::Error, ctx_.shown(text), "", "");
        continue;
      }
      const BarEntry& entry = made_[barsMade - 1];
      const std::string toolbar = "Toolbar." + entry.name;
      int line = ctx_.ini.lineOf(section_, entry.key);
      std::string key = entry.key;
      for (const char* size : {"ButtonCount", "ButtonSize", "BitmapWidth", "BitmapHeight"}) {
        if (int at = ctx_.ini.keyLine(toolbar, size); at && !count(ctx_.read(toolbar, size, "0"))) {
          line = at;
          key = size;
          break;
        }
      }
      add(line, Severity::Error, ctx_.shown(text), entry.name, key);
    }
  }

 private:
  // What the library makes of one bar entry without a word: a value cut at 255
  // characters, a Home that names no edge, a bar with no toolbar section to fill it, and
  // a bar the view lists twice.
  void findInEntry(size_t index, const std::string& entry, std::map<std::string, size_t>& named) {
    const BarEntry& bar = made_[index];
    const std::string whole = ctx_.readWhole(section_, bar.key);
    if (whole.size() > entry.size()) {
      const std::string lost = whole.substr(entry.size());
      add(bar.line, Severity::Error,
          bar.key + " is " + std::to_string(whole.size()) + " characters long and the library reads only its first " +
              std::to_string(entry.size()) + ": \"" + excerpt(lost) + "\" after the cut is lost (" +
              fieldsCut(whole, entry.size()) + ")",
          bar.name, bar.key);
    }
    if (auto home = entryField(entry, "Home")) {
      std::string edge = automation::toUpper(*home);
      if (edge != "TOP" && edge != "BOTTOM" && edge != "LEFT" && edge != "RIGHT")
        add(bar.line, Severity::Error,
            "Home=" + *home + " names no edge (TOP, BOTTOM, LEFT or RIGHT); the bar stays where it is", bar.name,
            bar.key);
    }
    if (!entryField(entry, "Name")) {
      add(bar.line, Severity::Error, bar.key + " has no Name=, so no toolbar section fills its bar: it comes out empty",
          "", bar.key);
      return;
    }
    if (bar.name.empty()) {
      add(bar.line, Severity::Error, bar.key + " has an empty Name, so no toolbar section fills its bar: it comes out empty",
          "", bar.key);
      return;
    }
    if (!ctx_.ini.section("Toolbar." + bar.name))
      add(bar.line, Severity::Error,
          "there is no section [Toolbar." + bar.name + "] to fill bar " + bar.name + ": it comes out empty", bar.name,
          bar.key);
    auto [first, added] = named.try_emplace(automation::toUpper(bar.name), index);
    if (!added)
      add(bar.line, Severity::Warning,
          "bar " + bar.name + " is listed already as " + made_[first->second].key + " at line " +
              std::to_string(made_[first->second].line) + ": the view gets it twice",
          bar.name, bar.key);
  }

  bool explains(const Button& b, size_t i, const std::string& text) const {
    switch (b.kind) {
      case Button::Kind::Empty:
        return text == formatted(build::MissingButtonReport, Variant(static_cast<int16_t>(i)));
      case Button::Kind::Special:
        if (text == formatted(build::UnknownFunctionReport, Variant(b.value))) return true;
        break;
      case Button::Kind::Function:
        if (text == formatted(build::MissingFunctionReport, Variant(b.value))) return true;
        break;
    }
    // An image that does not load, or a control that refuses the item: the entry that
    // adds the next item.
    return b.addsItem && text.find("while processing: ") != std::string::npos;
  }

  // An image problem belongs to the icon set whose bitmap fails, else to the definition.
  int lineFor(const Button& b, const std::string& toolbar) const {
    if (b.kind == Button::Kind::Function && b.definition.loadsImage) {
      auto image = parseImageField(b.definition.image);
      if (image.set) {
        const std::string iconSet = "IconSet" + std::to_string(*image.set);
        std::string entry = ctx_.read("Functions", iconSet);
        std::string file = entry.substr(0, entry.find(','));
        if (int line = ctx_.ini.keyLine("Functions", iconSet);
            line && !entry.empty() && entry.front() != '!' && !ctx_.bitmap(file).loaded)
          return line;
      }
      if (int line = ctx_.ini.keyLine("Functions", b.value)) return line;
    }
    return ctx_.ini.lineOf(toolbar, b.key);
  }

  void add(int line, Severity severity, std::string message, std::string bar, std::string entry) {
    ctx_.problems.add({line, severity, std::move(message), view_, std::move(bar), std::move(entry)});
  }

  CheckContext& ctx_;
  const host::ToolbarManager& tbm_;
  std::string section_;
  std::string view_;
  int base_;
  std::vector<BarEntry> made_;  // in the order KaTSetup makes their bars
  std::map<std::string, std::vector<Button>> buttons_;
  int bar_ = -1;
  size_t cursor_ = 0;
  std::optional<size_t> refill_;
};

namespace {

bool isView(const std::string& section) {
  return section.size() >= ViewSuffix.size() &&
         platform::profileNamesEqual(std::string_view(section).substr(section.size() - ViewSuffix.size()), ViewSuffix);
}

}  // namespace

std::vector<std::string> viewNames(const IniIndex& ini) {
  std::vector<std::string> names;
  for (const auto& s : ini.sections())
    if (isView(s.name)) names.push_back(s.name.substr(0, s.name.size() - ViewSuffix.size()));
  return names;
}

void checkViews(CheckContext& ctx, CheckHost& host, const ViewProgress& progress) {
  std::vector<const IniSection*> views;
  for (const auto& s : ctx.ini.sections())
    if (isView(s.name)) views.push_back(&s);
  if (views.empty() && !ctx.ini.sections().empty())
    ctx.problems.add({ctx.ini.sections().front().line, Severity::Warning,
                      "the file has no view (no section named VIEW.Toolbars): KaTSetup builds no bar from it, only "
                      "KaTBuildBar can use its toolbars",
                      "", "", ""});
  for (size_t i = 0; i < views.size(); ++i) {
    ViewCheck view(ctx, host.toolbarManager(), views[i]->name);
    if (progress) progress(i + 1, views.size(), view.view());
    view.readEntries(true);
    auto outcome = host.setUp(view.view(), [&](const std::string& text) { view.heard(text); });
    view.shown(outcome.messages, outcome.barsMade);
  }
}

ViewReports::ViewReports(CheckContext& ctx, const host::ToolbarManager& tbm, const std::string& view)
    : check_(std::make_unique<ViewCheck>(ctx, tbm, view + std::string(ViewSuffix))) {
  check_->readEntries(false);
}

ViewReports::~ViewReports() = default;

void ViewReports::heard(const std::string& text) { check_->heard(text); }
void ViewReports::shown(const std::vector<std::string>& messages, int barsMade) { check_->shown(messages, barsMade); }
void ViewReports::refilling(size_t index) { check_->refilling(index); }

}  // namespace zadeve::cli::check
