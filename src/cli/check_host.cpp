#include "cli/check_host.h"

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "automation/variant.h"
#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "platform/current_directory.h"
#include "platform/profile_parser.h"

namespace zadeve::cli::check {
namespace {

using automation::Variant;

class ReportTap : public automation::Object {
 public:
  ReportTap(automation::ObjectRef application, std::shared_ptr<ReportListener> listener)
      : application_(std::move(application)), listener_(std::move(listener)) {}

  Variant invoke(std::string_view name, automation::InvokeKind kind, std::span<automation::Arg> args) override {
    if (kind == automation::InvokeKind::Method && platform::profileNamesEqual(name, "MsgBoxSub") && !args.empty() &&
        *listener_)
      (*listener_)(automation::toString(args[0].value()));
    return application_->invoke(name, kind, args);
  }
  std::string_view typeName() const override { return application_->typeName(); }

 private:
  automation::ObjectRef application_;
  std::shared_ptr<ReportListener> listener_;
};

}  // namespace

automation::ObjectRef tapReports(automation::ObjectRef application, std::shared_ptr<ReportListener> listener) {
  return automation::ObjectRef(new ReportTap(std::move(application), std::move(listener)));
}

CheckHost::CheckHost(const std::string& iniPath, const std::string& bitmapsDir, const std::string& languageFile)
    : screen_(std::make_shared<platform::HeadlessWindowing>()),
      previousScreen_(platform::installWindowing(screen_)),
      previousDirectory_(platform::currentDirectory()),
      library_(automation::makeObject<core::ZuzuzudLibrary>()),
      tbm_(automation::makeObject<host::ToolbarManager>()) {
  host::registerReferenceControls();
  automation::callMethod(*library_, "InitialiseZADEVE",
                         {Variant(automation::ObjectRef(tbm_)), iniPath, bitmapsDir, languageFile});
  automation::setProperty(*library_, "ShellApplicationObject",
                          tapReports(automation::makeObject<host::ShellApplication>(), listener_));
}

CheckHost::~CheckHost() {
  library_.reset();
  platform::installWindowing(previousScreen_);
  try {
    platform::changeDirectory(previousDirectory_);
  } catch (...) {
  }
}

CheckHost::Outcome CheckHost::setUp(const std::string& view, const ReportListener& listener) {
  *listener_ = listener;
  const size_t shown = screen_->messagesShown();
  const int registered = tbm_->count();
  auto form = automation::makeObject<host::HeadlessForm>("frmCheck", 800, 600);
  form->setLibrary(library_);
  try {
    automation::callMethod(*library_, "KaTSetup", {Variant(automation::ObjectRef(form)), view});
  } catch (...) {
    *listener_ = nullptr;
    form->unload();
    throw;
  }
  *listener_ = nullptr;
  Outcome outcome;
  outcome.barsMade = tbm_->count() - registered;
  // The form holds the library, and the library its last scan form, until it unloads.
  form->unload();
  for (const auto& m : screen_->messagesSince(shown)) outcome.messages.push_back(m.text);
  return outcome;
}

}  // namespace zadeve::cli::check
