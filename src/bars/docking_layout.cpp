// KaTLayout: places the visible docked bars of a form along its edges, in index order,
// shrinking the free rectangle (vl, vt, vr, VB) as it goes. The edges are 16-bit, as
// the host's variables are; sums are made wide and stored through the runtime's
// conversion, so an edge that leaves the 16-bit range raises Overflow and ends the pass
// like any other failure.

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "core/zuzuzud_library.h"

namespace zadeve::core {
namespace {

using automation::roundToInteger;
using automation::toDouble;

constexpr int16_t DockedBorder = 6;
constexpr int16_t EdgeLeft = 1;
constexpr int16_t EdgeTop = 2;
constexpr int16_t EdgeRight = 4;
constexpr int16_t EdgeBottom = 8;

// The pass: the free rectangle and the counters of bars placed per edge.
struct DockingPass {
  int16_t& vl;
  int16_t& vt;
  int16_t& vr;
  int16_t& VB;
  int16_t bottomCount = 0;
  int16_t leftCount = 0;
  int16_t rightCount = 0;
};

int16_t sum16(double value) { return roundToInteger(value); }
Variant integer(double value) { return Variant(roundToInteger(value)); }

void setBorders(const Toolbar& tb, int16_t edges) {
  tb.BorderFlags1(DockedBorder);
  tb.EdgeFlags1(edges);
  tb.BorderFlags2(0);
  tb.EdgeFlags2(0);
}

void placeTop(const Toolbar& tb, DockingPass& p) {
  tb.Vertical(false);
  setBorders(tb, EdgeTop + (p.leftCount ? EdgeLeft : 0) + (p.rightCount ? EdgeRight : 0));
  tb.Width(integer(double(p.vr) - p.vl));
  tb.Height(tb.IdealDepth());
  tb.Top(Variant(p.vt));
  tb.Left(Variant(p.vl));
  tb.ZOrder();
  p.vt = sum16(p.vt + toDouble(tb.Height()));
}

// Every ordinary bottom bar overlaps what lies below it by one pixel; the sketch bar
// always sits on the form's bottom edge, whatever was placed before it.
void placeBottom(ZuzuzudLibrary& lib, const HostForm& form, const Toolbar& tb, DockingPass& p) {
  tb.Vertical(false);
  setBorders(tb, (p.rightCount ? EdgeRight : 0) + (p.leftCount ? EdgeLeft : 0) + (p.bottomCount ? EdgeBottom : 0));
  p.bottomCount = sum16(p.bottomCount + 1.0);
  tb.Width(integer(double(p.vr) - p.vl));
  tb.Height(tb.IdealDepth());
  std::string name = automation::toUpper(automation::toString(lib.KaTGetProp(tb.object(), "Name", Variant(""))));
  if (name == "SKETCH")
    tb.Top(Variant(toDouble(form.ScaleHeight()) - toDouble(tb.Height())));
  else
    tb.Top(Variant(p.VB - toDouble(tb.Height()) + lib.TwipsPerPixelY()));
  tb.Left(Variant(p.vl));
  p.VB = sum16(toDouble(tb.Top()) - lib.TwipsPerPixelY());
}

void placeLeft(const Toolbar& tb, DockingPass& p) {
  setBorders(tb, EdgeTop + (p.leftCount ? EdgeLeft : 0) + (p.bottomCount ? EdgeBottom : 0));
  p.leftCount = sum16(p.leftCount + 1.0);
  tb.Vertical(true);
  tb.Height(integer(double(p.VB) - p.vt));
  tb.Width(tb.IdealDepth());
  tb.Top(Variant(p.vt));
  tb.Left(Variant(p.vl));
  p.vl = sum16(p.vl + toDouble(tb.Width()));
}

void placeRight(const Toolbar& tb, DockingPass& p) {
  setBorders(tb, EdgeTop + (p.rightCount ? EdgeRight : 0) + (p.bottomCount ? EdgeBottom : 0));
  p.rightCount = sum16(p.rightCount + 1.0);
  tb.Vertical(true);
  tb.Height(integer(double(p.VB) - p.vt));
  tb.Width(tb.IdealDepth());
  tb.Top(Variant(p.vt));
  tb.Left(Variant(p.vr - toDouble(tb.Width())));
  p.vr = sum16(p.vr - toDouble(tb.Width()));
}

}  // namespace

void ZuzuzudLibrary::KaTLayout(const ObjectRef& frm, int16_t& vl, int16_t& vt, int16_t& vr, int16_t& VB) {
  HostForm form(frm);
  vl = 0;
  vt = 0;
  vr = automation::toInteger(form.ScaleWidth());
  VB = automation::toInteger(form.ScaleHeight());
  DockingPass pass{vl, vt, vr, VB};

  // The first failure ends the pass silently; that is also how the end of the bar
  // array is found. Bars not reached keep their place.
  try {
    for (int32_t i = 0; i <= INT16_MAX; ++i) {
      Toolbar tb = form.bar(static_cast<int16_t>(i));
      std::string home = automation::toUpper(automation::toString(KaTGetProp(tb.object(), "Home", Variant("Top"))));
      if (!tb.Visible()) continue;
      if (home == "TOP") {
        placeTop(tb, pass);
      } else if (home == "BOTTOM") {
        placeBottom(*this, form, tb, pass);
      } else if (home == "LEFT") {
        placeLeft(tb, pass);
      } else if (home == "RIGHT") {
        placeRight(tb, pass);
      }
    }
  } catch (const automation::AutomationError&) {
  }

  // The last bottom bar gave back the pixel it overlapped; the right edge stops one
  // pixel short of the innermost right bar.
  if (pass.bottomCount != 0) VB = sum16(double(VB) + TwipsPerPixelY_);
  vr = sum16(double(vr) - TwipsPerPixelX_);
}

}  // namespace zadeve::core
