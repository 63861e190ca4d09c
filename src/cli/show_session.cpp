#include "cli/show_session.h"

#include <algorithm>
#include <filesystem>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "vizevore/event_sink.h"

namespace zadeve::cli {

using automation::ObjectRef;
using automation::Variant;

std::string showCaption(const ShowOptions& options) {
  const std::string file = options.file.empty() ? "BARS.INI" : options.file;
  return options.view + " - " + std::filesystem::path(file).filename().string() + " - zadeve show";
}

platform::MessageBoxResult ReportingWindowing::messageBox(const std::string& text,
                                                          platform::MessageBoxButtons buttons,
                                                          const std::string&) {
  report_(text);
  return buttons == platform::MessageBoxButtons::YesNo ? platform::MessageBoxResult::Yes
                                                       : platform::MessageBoxResult::Ok;
}

int32_t ReportingWindowing::popupMenu(platform::WindowHandle owner, const std::vector<std::string>& items) {
  struct Open {
    int& count;
    explicit Open(int& c) : count(++c) {}
    ~Open() { --count; }
  } open(menusOpen_);
  return ForwardingWindowing::popupMenu(owner, items);
}

ShowSession::ShowSession(const ShowOptions& options, std::shared_ptr<platform::Windowing> desktop)
    : options_(options),
      windows_(std::make_shared<ReportingWindowing>(std::move(desktop),
                                                    [this](const std::string& text) { report(text); })),
      host_(configurationPath(options.file), bitmapFolder(options.bitmaps), windows_) {
  host_.initialise();
  host_.onReport([this](const std::string& text) { report(text); });
  form_ = &host_.addForm("frmMain", *parseSize(options.size));
  form_->setCaption(showCaption(options));
  form_->onControlEvent([this](const host::ControlEvent& e) {
    if (e.event == vizevore::events::BarContextMenu) barMenu(e.barIndex);
  });
}

ShowSession::~ShowSession() {
  // The window that showed them goes first.
  reportsChanged_ = nullptr;
}

void ShowSession::report(const std::string& text) {
  // One line each: the library breaks its texts with CR LF.
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  if (std::find(reports_.begin(), reports_.end(), line) != reports_.end()) return;
  reports_.push_back(std::move(line));
  if (reportsChanged_) reportsChanged_();
}

void ShowSession::failed(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const automation::AutomationError& e) {
    report("error " + std::to_string(e.number()) + ": " + e.description());
  } catch (const std::exception& e) {
    report(e.what());
  }
}

void ShowSession::setUp() {
  host_.setup(*form_, options_.view);
  auto& lib = host_.library();
  for (int32_t i = 0; i <= form_->bars().upperBound(); ++i) {
    auto bar = form_->bar(i);
    if (!bar) continue;
    const ObjectRef b(bar);
    auto noted = floating_.find(automation::toUpper(lib.KaTBarName(b)));
    if (noted == floating_.end()) continue;
    // The file may hide the bar now: then it stays hidden, and is no longer noted.
    const std::string place = noted->second;
    floating_.erase(noted);
    if (automation::toUpper(automation::toString(lib.KaTGetProp(b, "Visible", "No"))) != "YES") continue;
    try {
      if (!place.empty()) automation::callMethod(lib, "KaTSetProp", {Variant(b), "FloatPos", place});
      automation::callMethod(lib, "KaTFloat", {Variant(ObjectRef(form_)), Variant(b)});
    } catch (...) {
      failed(std::current_exception());
    }
  }
}

void ShowSession::build() {
  setUp();
  watch_.watch(viewFiles(host_.library()));
}

void ShowSession::rebuild() {
  reports_.clear();
  if (reportsChanged_) reportsChanged_();
  auto& lib = host_.library();
  const ObjectRef frm(form_);
  std::vector<automation::Ref<vizevore::ReVivezav>> floated;
  for (int32_t i = 0; i <= form_->bars().upperBound(); ++i)
    if (auto bar = form_->bar(i); bar && HostSession::paletteOf(*bar)) floated.push_back(bar);
  try {
    automation::callMethod(lib, "KaTUnloadBars", {Variant(frm)});
  } catch (...) {
    failed(std::current_exception());
  }
  // Closing a palette wrote its place into its bar.
  for (const auto& bar : floated) {
    const ObjectRef b(bar);
    floating_[automation::toUpper(lib.KaTBarName(b))] = automation::toString(lib.KaTGetProp(b, "FloatPos", ""));
  }
  form_->bars().unloadLoaded();
  if (auto first = form_->bar(0)) first->setTag("");
  try {
    setUp();
  } catch (...) {
    failed(std::current_exception());
  }
  watch_.watch(viewFiles(lib));
}

void ShowSession::barMenu(int16_t index) {
  auto bar = form_->bar(index);
  if (!bar) return;
  try {
    // A bar the user hid (or the file keeps hidden) has no place to be clicked: the menu
    // brings it back.
    auto& lib = host_.library();
    std::vector<std::string> items{"Float", "Hide"};
    std::vector<automation::Ref<vizevore::ReVivezav>> hidden;
    for (int16_t i = 0; i <= form_->bars().upperBound(); ++i) {
      auto other = form_->bar(i);
      if (!other) continue;
      const std::string name = lib.KaTBarName(ObjectRef(other));
      if (name.empty() || lib.KaTIsVisible(ObjectRef(other)) != 0) continue;
      hidden.push_back(other);
      items.push_back("Show " + name);
    }
    const int32_t picked = platform::windowing().popupMenu(form_->hWnd(), items);
    const Variant frm{ObjectRef(form_)};
    if (picked == 0)
      automation::callMethod(lib, "KaTFloat", {frm, Variant(ObjectRef(bar))});
    else if (picked == 1)
      automation::callMethod(lib, "KaTSetVisible", {frm, Variant(ObjectRef(bar)), Variant(automation::False)});
    else if (picked >= 2)
      automation::callMethod(lib, "KaTSetVisible",
                             {frm, Variant(ObjectRef(hidden[static_cast<size_t>(picked - 2)])), Variant(automation::True)});
  } catch (...) {
    failed(std::current_exception());
  }
}

}  // namespace zadeve::cli
