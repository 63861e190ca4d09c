// How the reference host runs the commands of its forms: the same command whether a
// palette signalled "ExecuteCommand" or one of the form's own bars raised the event.
//
// Call flow of a toggle clicked on a docked bar:
//   bar.click -> the control flips the button's BF_ON, then raises ButtonClick
//     HeadlessForm::controlEvent -> commandFromEvent -> runCommand("Bold")
//       the host's state of "Bold" flips
//       library.KaSetFunctionState frm, "Bold", state    (late-bound)
//         every Bold button of the form, palettes included, follows
// On a palette the click reaches the form as frm.Signal = "ExecuteCommand" instead, with the
// command prepared in the application object and the spin values in the library.

#include "automation/conversions.h"
#include "automation/dispatch.h"
#include "host/headless_form.h"
#include "host/shell_application.h"
#include "vizevore/revivezav.h"

namespace zadeve::host {

using namespace automation;

namespace {

// The host keeps the state of every command that BARS.INI defines as a toggle, so a press
// on a palette reaches the form's own bars too.
bool isToggle(Object& library, const std::string& name) {
  const std::string definition = toString(callMethod(library, "GetConfigValue", {"Functions", name, ""}));
  return equalsIgnoreCase(definition.substr(0, definition.find(',')), "TOGGLE");
}

bool isFontSize(const std::string& name) { return name.starts_with("FontSize_") || name == "FontSize"; }

constexpr int16_t KAT_PUSHBUTTON = 10;
constexpr int16_t KAT_COMBO = 40;

}  // namespace

void HeadlessForm::runCommand() {
  const ShellApplication& app = *application_;
  ExecutedCommand command{app.commandString(), app.commandFlag(), app.commandValue()};
  std::optional<float> value;
  if (library_ && command.name.ends_with("_SpinUp"))
    value = toSingle(getProperty(*library_, "aSpinUp"));
  else if (library_ && command.name.ends_with("_SpinDown"))
    value = toSingle(getProperty(*library_, "aSpinDown"));
  else if (isNumeric(command.value))
    value = toSingle(command.value);
  runCommand(std::move(command), value);
}

void HeadlessForm::runCommand(ExecutedCommand command, std::optional<float> value) {
  auto keepAlive = automation::keepAlive(*this);
  commands_.push_back(command);
  if (!library_) return;
  const Variant self(ObjectRef(this));
  if (isToggle(*library_, command.name)) {
    bool& on = commandStates_[command.name];
    on = !on;
    callMethod(*library_, "KaSetFunctionState", {self, command.name, Variant(toVbBool(on))});
  } else if (isFontSize(command.name) && value) {
    callMethod(*library_, "StatusMsg", {self, "StatusText", "Font size " + toString(Variant(*value))});
  }
}

bool HeadlessForm::commandState(const std::string& name) const {
  auto at = commandStates_.find(name);
  return at != commandStates_.end() && at->second;
}

// The command a palette would have prepared for the same event.
void HeadlessForm::commandFromEvent(const vizevore::ReVivezav& source, const ControlEvent& e) {
  namespace events = vizevore::events;
  ExecutedCommand command{e.function, 0, Variant()};
  if (e.event == events::ButtonClick) {
    const auto& item = source.item(source.currentButton());
    if (item.buttonType() == KAT_PUSHBUTTON && item.on()) command.flag = 1;
    if (item.buttonType() == KAT_COMBO) command.flag = static_cast<int16_t>(item.combo.listIndex);
  } else if (e.event == events::ButtonChange || e.event == events::ButtonValue) {
    if (e.event == events::ButtonChange) command.name += "_Change";
    if (e.value) command.value = Variant(*e.value);
  } else if (e.event == events::ButtonSpinUp) {
    command.name += "_SpinUp";
  } else if (e.event == events::ButtonSpinDown) {
    command.name += "_SpinDown";
  } else {
    return;
  }
  runCommand(std::move(command), e.value);
}

}  // namespace zadeve::host
