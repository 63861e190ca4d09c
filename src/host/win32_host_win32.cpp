// zadeve/win32_host.h: the reference host's form around a window of the program's own,
// with the library, toolbar manager and application object made for it.

#include <filesystem>
#include <utility>

#include "automation/dispatch.h"
#include "host/form_picture.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"
#include "platform/windowing.h"
#include "zadeve/library.h"

// Last: it brings windows.h, which makes macros of names our headers use.
#include "zadeve/win32_host.h"

namespace zadeve::win32 {

using automation::callMethod;
using automation::makeObject;
using automation::ObjectRef;
using automation::Ref;
using automation::Variant;

namespace {

// KaTSetup makes the bitmap folder current: relative paths would move with it.
std::string absoluteFolder(const std::filesystem::path& folder) {
  std::string text = std::filesystem::absolute(folder).make_preferred().string();
  if (!text.empty() && text.back() != '\\' && text.back() != '/') text += '\\';
  return text;
}

}  // namespace

struct HostForm::State {
  ObjectRef library;
  ObjectRef form;
  ObjectRef application;
  ObjectRef toolbarManager;
  Ref<host::HeadlessForm> hostForm;
  Ref<host::ShellApplication> shell;
};

HostForm::HostForm(HWND window, const Settings& settings, const std::string& formName)
    : state_(std::make_unique<State>()) {
  host::registerReferenceControls();
  State& s = *state_;
  s.library = createLibrary();
  s.toolbarManager = makeObject<host::ToolbarManager>();
  s.shell = makeObject<host::ShellApplication>();
  s.application = ObjectRef(s.shell);
  s.shell->onReport([this](const host::Report& report) {
    const std::string title = state_->hostForm ? state_->hostForm->caption() : std::string();
    platform::windowing().messageBox(report.text, platform::MessageBoxButtons::Ok, title);
  });

  const std::filesystem::path ini = std::filesystem::absolute(settings.barsIni);
  const std::string bitmaps =
      absoluteFolder(settings.bitmapFolder.empty() ? ini.parent_path() : std::filesystem::path(settings.bitmapFolder));
  callMethod(*s.library, "InitialiseZADEVE",
             {Variant(s.toolbarManager), ini.string(), bitmaps, settings.languageFile});
  automation::setProperty(*s.library, "ShellApplicationObject", s.application);

  const auto handle = static_cast<platform::WindowHandle>(reinterpret_cast<intptr_t>(window));
  s.hostForm = makeObject<host::HeadlessForm>(formName, handle);
  s.hostForm->setLibrary(s.library);
  s.hostForm->setApplication(s.shell);
  s.form = ObjectRef(s.hostForm);
}

HostForm::~HostForm() {
  try {
    unload();
  } catch (...) {
    // The form is unloaded whatever the library raised; nobody is left to tell.
  }
}

void HostForm::setup(const std::string& view, const std::string& excludeBars) {
  callMethod(*state_->library, "KaTSetup", {Variant(state_->form), view, excludeBars});
  // KaTSetup keeps the free area to itself; the host's content needs it.
  layout();
}

void HostForm::layout() { state_->hostForm->layout(); }

RECT HostForm::freeArea() const {
  const host::HeadlessForm& f = *state_->hostForm;
  const auto& free = f.freeRectangle();
  if (!free) return {0, 0, f.pixelWidth(), f.pixelHeight()};
  const auto box = host::freeBox(f, *free);
  return {box.x, box.y, box.x + box.w, box.y + box.h};
}

void HostForm::onReport(std::function<void(const std::string&)> show) {
  if (!show) {
    state_->shell->onReport(nullptr);
    return;
  }
  state_->shell->onReport([show = std::move(show)](const host::Report& report) { show(report.text); });
}

void HostForm::onUnloaded(std::function<void()> listener) { state_->hostForm->onUnloaded(std::move(listener)); }

void HostForm::unload() { state_->hostForm->unload(); }

bool HostForm::loaded() const { return state_->hostForm->loaded(); }

const ObjectRef& HostForm::library() const { return state_->library; }
const ObjectRef& HostForm::form() const { return state_->form; }
const ObjectRef& HostForm::application() const { return state_->application; }
const ObjectRef& HostForm::toolbarManager() const { return state_->toolbarManager; }

}  // namespace zadeve::win32
