#pragma once
// The walk every function operation makes: a function scan begun for a form and a
// function, with the body run on each bar it stops at (the bar's current button is then
// the function's). The body returns false to end the walk where it stands.

#include <cstdint>
#include <string>

#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::functions {

// The kinds and flag bits the operations test, as the control reports them.
inline constexpr int32_t KAT_PUSHBUTTON = 10;
inline constexpr int32_t KAT_COMBO = 40;
inline constexpr int16_t BF_BUMP = 4;
inline constexpr int16_t BF_ON = 128;

template <class Body>
void walkFunction(core::ZuzuzudLibrary& lib, const automation::ObjectRef& frm, const std::string& fn, Body body) {
  lib.KaTBeginScanFunction(frm, fn);
  while (lib.KaTNextScanFunction())
    if (!body(core::Toolbar(lib.aBar()))) return;
}

// The same walk kept to the bars whose current button is of one kind.
template <class Body>
void walkFunctionOfKind(core::ZuzuzudLibrary& lib, const automation::ObjectRef& frm, const std::string& fn,
                        int32_t kind, Body body) {
  walkFunction(lib, frm, fn, [&](const core::Toolbar& bar) { return bar.ButtonType() != kind || body(bar); });
}

}  // namespace zadeve::functions
