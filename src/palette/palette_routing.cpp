// A palette turns its toolbar's button events into commands for the host: the command's
// name and parameters go into the host application object and the library first, and the
// signal word "ExecuteCommand" to the host form comes last, so the host finds everything in
// place when its handler runs (inside the write).

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/type_library_enums.h"
#include "palette/tool_palette.h"

namespace zadeve::palette {

using namespace automation;
using core::HostForm;
using core::Toolbar;

using core::BF_ON;
using core::KAT_COMBO;
using core::KAT_PUSHBUTTON;

void FrmToolPalette::onButtonClick() {
  if (!targetForm) return platform::windowing().beep();
  core::ZuzuzudLibrary& lib = library();
  lib.aBar(bar());
  // Each property is read afresh through the library's aBar, as the host would.
  lib.ShellString(Toolbar(lib.aBar()).ButtonTag());
  lib.ShellCmdFlag(0);
  if (Toolbar(lib.aBar()).ButtonType() == KAT_PUSHBUTTON) {
    if (Toolbar(lib.aBar()).PushButtonFlags() & BF_ON) lib.ShellCmdFlag(1);
  } else if (Toolbar(lib.aBar()).ButtonType() == KAT_COMBO) {
    lib.ShellCmdFlag(Toolbar(lib.aBar()).ButtonListIndex());
  }
  // A failure while the host runs the command does not reach the toolbar.
  try {
    HostForm(targetForm).Signal("ExecuteCommand");
  } catch (const AutomationError&) {
  }
}

void FrmToolPalette::onButtonChange(float value, const char* suffix) {
  if (!targetForm) return platform::windowing().beep();
  core::ZuzuzudLibrary& lib = library();
  lib.ShellValue(Variant(value));
  lib.aBar(bar());
  lib.ShellString(Toolbar(lib.aBar()).ButtonTag() + suffix);
  HostForm(targetForm).Signal("ExecuteCommand");
}

void FrmToolPalette::onButtonSpin(float value, bool up) {
  // No check of targetForm: a loaded palette always has one.
  core::ZuzuzudLibrary& lib = library();
  if (up)
    lib.aSpinUp(value);
  else
    lib.aSpinDown(value);
  lib.aBar(bar());
  lib.ShellString(Toolbar(lib.aBar()).ButtonTag() + (up ? "_SpinUp" : "_SpinDown"));
  HostForm(targetForm).Signal("ExecuteCommand");
}

}  // namespace zadeve::palette
