#pragma once
// Painting a ReVivezav: the bar as the user sees it, drawn from its laid-out items.
//
// Looks, in the classic flat-toolbar manner:
//  - push and toggle buttons are flat; BF_ON (or BF_DOWN) sinks them into a dithered
//    face with the content one pixel down and right; a disabled button shows its image
//    engraved and its caption greyed;
//  - a button without a loaded image shows its text as a caption; caption bits put the text
//    above, left or right of the image;
//  - menus show their caption and a drop mark; combos a white field with the selected
//    entry and a drop button; spins a field with the value and up/down buttons;
//  - panels show their caption over a progress fill (0..100), sunken with BF_DIP and
//    raised with BF_BUMP;
//  - separators are an etched line across the row, gaps are empty;
//  - the bar's two border kinds are drawn on their sides, the first outermost.

#include "vizevore/canvas.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

// Line height of captions in pixels: the layout's line height.
inline constexpr int CaptionPixelHeight = metrics::LineHeight;

// Where on an item a point lies: spins have two arrows, combos a drop button.
enum class ItemPart : uint8_t { None, Face, SpinUp, SpinDown, DropButton };

// What the mouse does to the bar: the item under it, and whether a button is held on it.
// Only a bar in a window has a mouse; a picture of the bar paints the default (none).
struct PointerLook {
  int32_t item = -1;
  ItemPart part = ItemPart::None;
  bool pressed = false;
  friend bool operator==(const PointerLook&, const PointerLook&) = default;
};

// The item and part at (x, y), pixels from the bar's top-left; item -1 when none. Hidden
// items, gaps and separators are never hit.
PointerLook hitTest(const ReVivezav& bar, int x, int y);

// Where a spin shows its value (inside its field's edge), pixels from the bar's top-left:
// a window lays an edit box over it to type a value in.
Box spinValueBox(const ReVivezav& bar, int32_t spin);

// The bar's size in pixels: its Width and Height, or where it has none yet, its ideal
// length and depth.
Box paintedSize(const ReVivezav& bar);

// The bar alone, at its painted size.
Canvas paintToolbar(const ReVivezav& bar, const PointerLook& pointer = {});

// The bar into a larger picture (a form with several bars) with its top-left corner at
// (x, y) pixels; nothing outside the bar's box is touched.
void paintToolbar(const ReVivezav& bar, Canvas& canvas, int x, int y, const PointerLook& pointer = {});

}  // namespace zadeve::vizevore
