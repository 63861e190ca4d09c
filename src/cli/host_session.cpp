#include "cli/host_session.h"

#include <charconv>
#include <filesystem>
#include <limits>

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/error.h"
#include "cli/input_file.h"
#include "host/desktop_picture.h"
#include "host/reference_controls.h"
#include "platform/current_directory.h"

namespace zadeve::cli {

namespace fs = std::filesystem;
using automation::ObjectRef;
using automation::Variant;

namespace {

std::optional<int32_t> number(std::string_view text) {
  int32_t n = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return n;
}

}  // namespace

int32_t largestSide() {
  // The form's client area is kept in twips, which are 16-bit.
  return static_cast<int32_t>(std::numeric_limits<int16_t>::max() / platform::HeadlessWindowing().twipsPerPixelX());
}

std::string sizeProblem(const std::string& text) {
  const auto x = text.find_first_of("xX");
  std::optional<int32_t> w, h;
  if (x != std::string::npos) w = number(std::string_view(text).substr(0, x)), h = number(std::string_view(text).substr(x + 1));
  if (!w || !h) return "malformed size " + text + " (want WxH, e.g. 800x600)";
  const int32_t most = largestSide();
  if (*w < 1 || *h < 1 || *w > most || *h > most)
    return "size " + text + " is out of range: each side from 1 to " + std::to_string(most) + " pixels (the form's " +
           "twips, " + std::to_string(static_cast<int>(platform::HeadlessWindowing().twipsPerPixelX())) +
           " to a pixel, are 16-bit)";
  return {};
}

std::optional<PixelSize> parseSize(const std::string& text) {
  if (!sizeProblem(text).empty()) return std::nullopt;
  const auto x = text.find_first_of("xX");
  return PixelSize{*number(std::string_view(text).substr(0, x)), *number(std::string_view(text).substr(x + 1))};
}

std::string configurationPath(const std::string& given) {
  const std::string path = given.empty() ? "BARS.INI" : given;
  if (auto problem = configurationFileProblem(path); !problem.empty()) throw CommandError(path + ": " + problem);
  return path;
}

std::string bitmapFolder(const std::string& given) {
  if (given.empty()) return given;
  if (auto problem = inputFolderProblem(given); !problem.empty()) throw CommandError(given + ": " + problem);
  return given;
}

HostSession::HostSession(const std::string& iniPath, const std::string& bitmapsDir,
                         std::shared_ptr<platform::Windowing> windows)
    : screen_(windows ? nullptr : std::make_shared<platform::HeadlessWindowing>()),
      windows_(windows ? std::move(windows) : screen_),
      previous_(platform::installWindowing(windows_)),
      directory_(platform::currentDirectory()) {
  const fs::path ini = fs::absolute(iniPath).lexically_normal();
  ini_ = ini.string();
  // The library joins the folder and a file name without a separator.
  bitmaps_ = ((bitmapsDir.empty() ? ini.parent_path() : fs::absolute(bitmapsDir).lexically_normal()) / "").string();
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

platform::HeadlessWindowing& HostSession::screen() const {
  if (!screen_) throw std::logic_error("this session's forms stand on a windowing of its own, not a headless screen");
  return *screen_;
}

void HostSession::initialise() {
  automation::callMethod(*lib_, "InitialiseZADEVE", {Variant(tbm_), ini_, bitmaps_});
  automation::setProperty(*lib_, "ShellApplicationObject", check::tapReports(app_, listener_));
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

int32_t HostSession::barIndex(const host::HeadlessForm& form, const std::string& name) const {
  for (int32_t i = 0; i <= form.bars().upperBound(); ++i) {
    auto b = form.bar(i);
    if (b && automation::equalsIgnoreCase(lib_->KaTBarName(ObjectRef(b)), name)) return i;
  }
  throw CommandError(form.name() + " has no bar " + name);
}

automation::Ref<vizevore::ReVivezav> HostSession::bar(const host::HeadlessForm& form, const std::string& name) const {
  return form.bar(barIndex(form, name));
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
  // Right-click on the palette's toolbar, "Dock": say first what keeps that menu away.
  const std::string cannot = name + " cannot dock through its palette's menu: ";
  if (core::ZuzuzudLibrary::FloatingMenuDisabled())
    throw CommandError(cannot + "the floating menu is disabled (KaTDisableFloatingMenu)");
  auto paletteBar = automation::objectAs<vizevore::ReVivezav>(p->bar());
  if (!paletteBar || !paletteBar->visible())
    throw CommandError(cannot + "the palette's toolbar is hidden (the bar has Visible=" +
                       automation::toString(lib_->KaTGetProp(ObjectRef(b), "Visible", "")) +
                       ", not Yes) and a hidden toolbar opens no menu");
  screen().pickInNextMenu("Dock");
  paletteBar->contextMenu(0, 0);
  if (paletteOf(*b)) throw CommandError(name + " did not dock: the palette's menu closed without docking it");
}

vizevore::Canvas HostSession::picture() const {
  std::vector<const host::HeadlessForm*> shown;
  for (const auto& f : forms_) shown.push_back(f.get());
  return host::renderDesktop(screen(), shown);
}

}  // namespace zadeve::cli
