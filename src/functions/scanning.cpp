// The two cursors over the toolbar manager's bars: the bar scan, optionally kept to one
// host form (the bars floating in its palettes count as its own), and the function scan
// that rides on it and stops only at bars holding a button for a function.
//
// The cursor lives in the current workspace and answers through state: the bar found is
// the workspace's aBar, whether it floats its IsFloating, the button found the bar's
// current button. Nothing is cached: every step asks TBM for its count and bar again, so
// a TBM that changes under a scan shifts the positions under the cursor.

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {

namespace {
constexpr const char* PaletteFormName = "frmToolPalette";
}  // namespace

void ZuzuzudLibrary::KaTBeginScan(const ObjectRef& f) {
  CurrentWorkspace_->ScanIndex(0);
  if (f && !HostForm::isForm(*f))
    automation::raise(automation::err::TypeMismatch,
                      "A scan needs a form or Nothing, not a " + std::string(f->typeName()));
  CurrentWorkspace_->ScanForm(f);
}

void ZuzuzudLibrary::KaTBeginScanFunction(const ObjectRef& f, const std::string& fn) {
  CurrentWorkspace_->ScanFunction(fn);
  KaTBeginScan(f);
}

Variant ZuzuzudLibrary::KATNextScan() {
  ZuzuzudWorkspace& ws = *CurrentWorkspace_;
  ToolbarManager tbm(ws.TBM());
  for (;;) {
    if (ws.ScanIndex() == INT16_MAX) automation::raise(automation::err::Overflow, "The scan passed 32767 bars");
    ws.ScanIndex(static_cast<int16_t>(ws.ScanIndex() + 1));
    if (ws.ScanIndex() > tbm.Count()) {
      ws.aBar = nullptr;
      return Variant();
    }
    ws.aBar = tbm.ItemAsObject(ws.ScanIndex());
    if (!ws.aBar) continue;
    HostForm parent(Toolbar(ws.aBar).parent());
    ws.IsFloating = automation::toVbBool(parent.Name() == PaletteFormName);
    const ObjectRef& form = ws.ScanForm();
    if (form && parent.object() != form && (!ws.IsFloating || parent.targetForm() != form)) {
      ws.aBar = nullptr;
      continue;
    }
    return Variant(true);
  }
}

bool ZuzuzudLibrary::KaTNextScanFunction() {
  ZuzuzudWorkspace& ws = *CurrentWorkspace_;
  for (;;) {
    if (!automation::toBoolean(KATNextScan())) return false;
    ToolbarManager tbm(ws.TBM());
    if (ws.ScanIndex() > tbm.Count()) return false;
    Toolbar bar(tbm.ItemAsObject(ws.ScanIndex()));
    Button button = bar.ButtonFor(ws.ScanFunction());
    if (button.isNothing()) continue;
    bar.buttonIndex(button.Index());
    return true;
  }
}

}  // namespace zadeve::core
