#pragma once
// The reference host, for hosts that want one: windowless forms carrying the library's
// own toolbar control, a toolbar manager and an application object, all answering the
// host contract (zadeve/host_contract.h). Useful to try the library, to test a BARS.INI,
// or as the model of a host's own objects.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "zadeve/automation.h"

namespace zadeve::reference {

// Makes the toolbar control available to forms' `bar` arrays; a second call changes nothing.
void registerControls();

// A toolbar manager (TBM).
automation::ObjectRef newToolbarManager();

// An application object. It keeps every MsgBoxSub report; with `reports` it also writes
// each there at once, one line per line of text.
automation::ObjectRef newApplication(std::ostream* reports = nullptr);

// A form of the given client size in pixels. Its Signal handler answers "REFORMAT" with
// KaTLayout on `library` and runs "ExecuteCommand" through `application`. The form holds
// both until its Unload.
automation::ObjectRef newForm(const std::string& name, int32_t widthPixels, int32_t heightPixels,
                              const automation::ObjectRef& library, const automation::ObjectRef& application);

// The number of reports an application object of newApplication has kept.
int32_t reportCount(const automation::ObjectRef& application);

}  // namespace zadeve::reference
