#include "cli/host_session.h"

#include <charconv>
#include <filesystem>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "host/desktop_picture.h"
#include "host/reference_controls.h"
#include "platform/current_directory.h"

namespace zadeve::cli {

namespace fs = std::filesystem;
using automation::ObjectRef;
using automation::Variant;

namespace {

constexpr int32_t MaxSide = 4000;

std::optional<int32_t> side(std::string_view text) {
  int32_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || n < 1 || n > MaxSide) return std::nullopt;
  return n;
}

}  // namespace

std::optional<PixelSize> parseSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  auto w = side(std::string_view(text).substr(0, x)), h = side(std::string_view(text).substr(x + 1));
  if (!w || !h) return std::nullopt;
  return PixelSize{*w, *h};
}

std::string configurationPath(const std::string& given) {
  const std::string path = given.empty() ? "BARS.INI" : given;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw CommandError(path + ": no such file");
  return path;
}

HostSession::HostSession(const std::string& iniPath)
    : screen_(std::make_shared<platform::HeadlessWindowing>()),
      previous_(platform::installWindowing(screen_)),
      directory_(platform::currentDirectory()) {
  const fs::path ini = fs::absolute(iniPath).lexically_normal();
  ini_ = ini.string();
  // The library joins the folder and a file name without a separator.
  bitmaps_ = (ini.parent_path() / "").string();
  host::registerReferenceControls();
  lib_ = automation::makeObject<core::ZuzuzudLibrary>();
  tbm_ = automation::makeObject<host::ToolbarManager>();
  app_ = automation::makeObject<host::ShellApplication>();
}

HostSession::~HostSession() {
  // Also after a failed step: a form lets the library go, which holds it as its scan form.
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
    try {
      if ((*it)->loaded()) (*it)->unload();
    } catch (...) {
    }
  }
  forms_.clear();
  platform::installWindowing(previous_);
  try {
    platform::changeDirectory(directory_);
  } catch (...) {
  }
}

void HostSession::initialise() {
  automation::callMethod(*lib_, "InitialiseZADEVE", {Variant(tbm_), ini_, bitmaps_});
  automation::setProperty(*lib_, "ShellApplicationObject", app_);
}

host::HeadlessForm& HostSession::addForm(const std::string& name, PixelSize size) {
  if (form(name)) throw CommandError("a form named " + name + " exists already");
  auto f = automation::makeObject<host::HeadlessForm>(name, size.width, size.height);
  f->setLibrary(lib_);
  f->setApplication(app_);
  forms_.push_back(f);
  return *f;
}

host::HeadlessForm* HostSession::form(const std::string& name) const {
  for (const auto& f : forms_)
    if (automation::equalsIgnoreCase(f->name(), name)) return f.get();
  return nullptr;
}

bool HostSession::hasView(const std::string& view) const {
  // A sentinel no file holds: a missing BarCount and a missing section look alike to KaTSetup.
  const std::string none = "\x01";
  return automation::toString(lib_->GetConfigValue(view + ".Toolbars", "BarCount", none)) != none;
}

void HostSession::setup(host::HeadlessForm& form, const std::string& view) {
  if (!hasView(view)) throw CommandError(ini_ + ": no view " + view + " (no [" + view + ".Toolbars] with a BarCount)");
  automation::callMethod(*lib_, "KaTSetup", {Variant(ObjectRef(&form)), view});
  // As a host's Form_Resize after loading: lay out and keep the free rectangle.
  form.layout();
}

automation::Ref<vizevore::ReVivezav> HostSession::bar(const host::HeadlessForm& form, const std::string& name) const {
  for (int32_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto b = form.bar(i);
    if (b && automation::equalsIgnoreCase(lib_->KaTBarName(ObjectRef(b)), name)) return b;
  }
  throw CommandError(form.name() + " has no bar " + name);
}

automation::Ref<palette::FrmToolPalette> HostSession::paletteOf(const vizevore::ReVivezav& hostBar) {
  for (auto& p : palette::FrmToolPalette::loadedPalettes())
    if (p->sourceBar().get() == &hostBar) return p;
  return {};
}

palette::FrmToolPalette& HostSession::floatBar(host::HeadlessForm& form, const std::string& name) {
  auto b = bar(form, name);
  if (paletteOf(*b)) throw CommandError(name + " floats already");
  automation::callMethod(*lib_, "KaTFloat", {Variant(ObjectRef(&form)), Variant(ObjectRef(b))});
  auto p = paletteOf(*b);
  if (!p) throw CommandError(name + " did not float");
  return *p;
}

void HostSession::dockBar(host::HeadlessForm& form, const std::string& name) {
  auto b = bar(form, name);
  auto p = paletteOf(*b);
  if (!p) throw CommandError(name + " does not float");
  // Right-click on the palette's toolbar, "Dock".
  screen_->pickInNextMenu("Dock");
  if (auto paletteBar = automation::objectAs<vizevore::ReVivezav>(p->bar())) paletteBar->contextMenu(0, 0);
  if (paletteOf(*b)) throw CommandError(name + " did not dock (is the floating menu disabled?)");
}

vizevore::Canvas HostSession::picture() const {
  std::vector<const host::HeadlessForm*> shown;
  for (const auto& f : forms_) shown.push_back(f.get());
  return host::renderDesktop(*screen_, shown);
}

}  // namespace zadeve::cli
