// Fitting a palette to its toolbar. The user can change only the toolbar's length; the
// window's other dimension follows from the depth the toolbar reports. With contents shown
// while dragging, the sizing rectangle is corrected on every step (onSizing), so the window
// snaps during the drag; otherwise the resize at the end of the drag fits it.

#include "automation/conversions.h"
#include "automation/error.h"
#include "core/host_contracts.h"
#include "palette/tool_palette.h"
#include "platform/zeduvu.h"

namespace zadeve::palette {

using namespace automation;
using core::Toolbar;

namespace {

// Single-precision twips arithmetic; an overflow is the runtime's overflow error.
float single(double v) { return toSingle(Variant(v)); }

}  // namespace

Variant FrmToolPalette::MaxValue(const Variant& a, const Variant& b) {
  const bool greater = isNumeric(a) && isNumeric(b) ? toDouble(a) > toDouble(b) : toString(a) > toString(b);
  return greater ? a : b;
}

void FrmToolPalette::LayoutPalette(int32_t& w, int32_t& h) {
  if (layoutBusy_) return;
  // An error leaves the palette busy: it is not laid out again until it unloads.
  layoutBusy_ = True;
  Toolbar tb(bar());
  if (tb.Vertical()) {
    const float available = single(h - (double(Height()) - ScaleHeight()));
    tb.Height(Variant(toSingle(MaxValue(tb.MinLength(), Variant(available)))));
    const int32_t depth = toLong(tb.IdealDepth());
    const int32_t length = toLong(tb.IdealLength());
    tb.Move(Variant(0), Variant(0), Variant(depth), Variant(length));
  } else {
    const float available = single(w - (double(Width()) - ScaleWidth()));
    tb.Width(Variant(toSingle(MaxValue(tb.MinLength(), Variant(available)))));
    const int32_t length = toLong(tb.IdealLength());
    const int32_t depth = toLong(tb.IdealDepth());
    tb.Move(Variant(0), Variant(0), Variant(length), Variant(depth));
  }
  // Computed from the values read before the move; the move re-enters onResize, which
  // returns at once while busy.
  const float outerWidth = single(double(toSingle(tb.Width())) + (double(Width()) - ScaleWidth()));
  const float outerHeight = single(double(toSingle(tb.Height())) + (double(Height()) - ScaleHeight()));
  Move(Left(), Top(), outerWidth, outerHeight);
  w = roundToLong(double(toSingle(tb.Width())) + (double(Width()) - ScaleWidth()));
  h = roundToLong(double(toSingle(tb.Height())) + (double(Height()) - ScaleHeight()));
  layoutBusy_ = False;
}

void FrmToolPalette::onSizing(int32_t message, int32_t edge, int32_t address) {
  if (message != platform::WM_SIZING) return;
  int32_t L = 0, T = 0, R = 0, B = 0;
  platform::GetRECT(address, L, T, R, B);
  const double tppx = twipsPerPixelX(), tppy = twipsPerPixelY();
  int32_t wt = roundToLong(tppx * subtractLong(R, L));
  int32_t ht = roundToLong(tppy * subtractLong(B, T));
  if (Height() == ht && Width() == wt) return;

  namespace e = platform::wmsz;
  enum class Anchor { TopLeft, TopRight, BottomLeft } anchor = Anchor::TopLeft;
  bool layout = false;
  if (Toolbar(bar()).Vertical()) {
    if (edge == e::Bottom || edge == e::BottomLeft || edge == e::BottomRight) {
      layout = true, anchor = Anchor::TopRight;
    } else if (edge == e::Top || edge == e::TopLeft || edge == e::TopRight) {
      layout = true, anchor = Anchor::BottomLeft;
    }
  } else {
    if (edge == e::Left || edge == e::TopLeft || edge == e::BottomLeft) {
      layout = true, anchor = Anchor::TopRight;
    } else if (edge == e::Right || edge == e::TopRight || edge == e::BottomRight) {
      layout = true;
    }
  }
  if (layout) LayoutPalette(wt, ht);

  const int32_t wp = roundToLong(Width() / tppx);
  const int32_t hp = roundToLong(Height() / tppy);
  switch (anchor) {
    case Anchor::TopRight: platform::SetRECT(address, subtractLong(R, wp), T, R, addLong(T, hp)); break;
    case Anchor::BottomLeft: platform::SetRECT(address, L, subtractLong(B, hp), addLong(L, wp), B); break;
    case Anchor::TopLeft: platform::SetRECT(address, L, T, addLong(L, wp), addLong(T, hp)); break;
  }
}

}  // namespace zadeve::palette
