#pragma once
// Pieces shared by the painter's files: not for use outside painting.

#include <string_view>

#include "vizevore/canvas.h"
#include "vizevore/paint.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore::paint_detail {

// Narrows the canvas's clip for one scope and restores it after.
class ClipScope {
 public:
  ClipScope(Canvas& canvas, const Box& box) : canvas_(canvas), saved_(canvas.clip()) {
    canvas.setClip(box.intersect(saved_));
  }
  ~ClipScope() { canvas_.setClip(saved_); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Canvas& canvas_;
  Box saved_;
};

enum class Arrow : uint8_t { Up, Down };
enum class Enabled : uint8_t { No, Yes };

inline Box boxOf(const Rect& r, int originX, int originY) {
  return {r.left + originX, r.top + originY, r.width, r.height};
}

// Top of a caption line centred in `box`.
int captionTop(const Box& box);
// A caption, engraved when disabled. Returns its width.
int drawCaption(Canvas& canvas, int x, int top, std::string_view text, Enabled enabled);
// A small solid triangle centred on (cx, cy), `size` pixels across its base.
void drawArrow(Canvas& canvas, int cx, int cy, int size, Arrow arrow, Color color);

// The arrow buttons of a spin and the drop button of a combo drawn in `box`; painting and
// hit testing share them. `pressed` is the part the mouse holds down (None: nothing).
struct SpinArrows {
  Box up, down;
};
SpinArrows spinArrows(const Box& box);
Box comboDropButton(const Box& box);
Box spinValueField(const Box& box);  // inside the sunken edge

void paintCombo(Canvas& canvas, const Item& item, const Box& box, ItemPart pressed);
void paintSpin(Canvas& canvas, const Item& item, const Box& box, ItemPart pressed);
void paintPanel(Canvas& canvas, const Item& item, const Box& box);

}  // namespace zadeve::vizevore::paint_detail
