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

// The bar's size in pixels: its Width and Height, or where it has none yet, its ideal
// length and depth.
Box paintedSize(const ReVivezav& bar);

// The bar alone, at its painted size.
Canvas paintToolbar(const ReVivezav& bar);

// The bar into a larger picture (a form with several bars) with its top-left corner at
// (x, y) pixels; nothing outside the bar's box is touched.
void paintToolbar(const ReVivezav& bar, Canvas& canvas, int x, int y);

}  // namespace zadeve::vizevore
