// The state, enablement, visibility and tip of a function's buttons on every bar of a
// form, its palettes included. Each operation begins a scan of its own, so a host scan
// under way is restarted; nothing is trapped, and buttons changed before an error stay
// changed. Only push buttons (ButtonType 10) are touched, except by KaSetButtonTip.

#include "automation/conversions.h"
#include "functions/function_scan.h"

namespace zadeve::core {

using functions::BF_BUMP;
using functions::BF_ON;
using functions::KAT_PUSHBUTTON;
using functions::walkFunction;
using functions::walkFunctionOfKind;

void ZuzuzudLibrary::KaSetFunctionState(const ObjectRef& frm, const std::string& fn, int16_t Value) {
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    int16_t f = bar.PushButtonFlags();
    f = static_cast<int16_t>(Value != 0 ? f | BF_ON : f & ~BF_ON);
    bar.PushButtonFlags(f);  // also when the bit had the wanted value already
    return true;
  });
}

Variant ZuzuzudLibrary::KaTGetFunctionState(const ObjectRef& frm, const std::string& fn, int16_t& Value) {
  bool matched = false;
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    Value = automation::toVbBool((bar.PushButtonFlags() & BF_ON) == BF_ON);
    matched = true;
    return true;
  });
  return Variant(matched);
}

int16_t ZuzuzudLibrary::KaGetFunctionState(const ObjectRef& frm, const std::string& fn) {
  int16_t state = automation::False;
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    state = automation::toVbBool((bar.PushButtonFlags() & BF_ON) != 0);
    return false;  // the first push button answers; the scan stays on its bar
  });
  return state;
}

void ZuzuzudLibrary::KaSetFunctionEnabled(const ObjectRef& frm, const std::string& fn, int16_t Value) {
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    bar.ButtonEnabled(Value);
    return true;
  });
}

void ZuzuzudLibrary::KaSetButtonEnable(const ObjectRef& frm, const std::string& fn, int16_t Value) {
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    // Numerically: a button reporting True (-1) is already where a Value of -1 wants it.
    if (automation::toDouble(bar.ButtonEnabled()) != Value) bar.ButtonEnabled(Value);
    return true;
  });
}

Variant ZuzuzudLibrary::KaGetFunctionEnabled(const ObjectRef& frm, const std::string& fn, int16_t& Value) {
  bool matched = false;
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    Value = automation::toVbBool((bar.PushButtonFlags() & BF_BUMP) != BF_BUMP);
    matched = true;
    return true;
  });
  return Variant(matched);
}

void ZuzuzudLibrary::KaSetFunctionVisible(const ObjectRef& frm, const std::string& fn, int16_t Value) {
  walkFunctionOfKind(*this, frm, fn, KAT_PUSHBUTTON, [&](const Toolbar& bar) {
    bar.ButtonFor(fn).Visible(Value);
    return true;
  });
}

void ZuzuzudLibrary::KaSetButtonTip(const ObjectRef& frm, const std::string& fn, const std::string& Tip) {
  walkFunction(*this, frm, fn, [&](const Toolbar& bar) {
    bar.ButtonTooltip(Tip);
    return true;
  });
}

}  // namespace zadeve::core
