// The reference host behind zadeve/reference_host.h: our headless form, toolbar manager
// and application object, handed out as plain automation objects.

#include "zadeve/reference_host.h"

#include "host/headless_form.h"
#include "host/reference_controls.h"
#include "host/shell_application.h"
#include "host/toolbar_manager.h"

namespace zadeve::reference {

using automation::makeObject;
using automation::ObjectRef;

void registerControls() { host::registerReferenceControls(); }

ObjectRef newToolbarManager() { return makeObject<host::ToolbarManager>(); }

ObjectRef newApplication(std::ostream* reports) {
  auto app = makeObject<host::ShellApplication>();
  app->echoReportsTo(reports);
  return app;
}

ObjectRef newForm(const std::string& name, int32_t widthPixels, int32_t heightPixels, const ObjectRef& library,
                  const ObjectRef& application) {
  auto app = automation::objectAs<host::ShellApplication>(application);
  if (application && !app)
    automation::raise(automation::err::TypeMismatch, "The reference form runs commands through a reference "
                                                     "application object, not a " +
                                                         std::string(application->typeName()));
  auto form = makeObject<host::HeadlessForm>(name, widthPixels, heightPixels);
  form->setLibrary(library);
  form->setApplication(app);
  return form;
}

int32_t reportCount(const ObjectRef& application) {
  auto app = automation::objectAs<host::ShellApplication>(application);
  if (!app) automation::raise(automation::err::TypeMismatch, "Not a reference application object");
  return static_cast<int32_t>(app->reports().size());
}

}  // namespace zadeve::reference
