// The bar as a whole: where it sits, whether it shows, its borders. A window around the bar
// hears of each change through the observer.

#include <string>

#include "automation/error.h"
#include "vizevore/revivezav.h"

namespace zadeve::vizevore {

using automation::err::InvalidCall;

void ReVivezav::updateLayout() {
  layout();
  repaint();
}
void ReVivezav::zOrder() {
  ++zOrderCount_;
  placed();
}
void ReVivezav::refresh() {
  ++refreshCount_;
  repaint();
}
void ReVivezav::setTag(std::string tag) { tag_ = std::move(tag); }
void ReVivezav::setVisible(bool visible) {
  visible_ = visible;
  placed();
}
void ReVivezav::setAlign(int32_t align) { align_ = align; }

void ReVivezav::setVertical(bool vertical) {
  if (vertical_ == vertical) return;
  vertical_ = vertical;
  changed();
}

void ReVivezav::setLeft(int32_t twips) {
  left_ = twips;
  placed();
}
void ReVivezav::setTop(int32_t twips) {
  top_ = twips;
  placed();
}

void ReVivezav::setWidth(int32_t twips) { move(left_, top_, twips, height_); }
void ReVivezav::setHeight(int32_t twips) { move(left_, top_, width_, twips); }

void ReVivezav::move(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (width < 0 || height < 0)
    automation::raise(InvalidCall, "The bar's width and height must not be negative (" +
                                       std::to_string(width) + " x " + std::to_string(height) + ")");
  bool lengthChanged = vertical_ ? height != height_ : width != width_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (lengthChanged) changed();
  placed();
  repaint();  // the painted size follows Width and Height
}

void ReVivezav::setBorderFlags(int16_t border1, int16_t edge1, int16_t border2, int16_t edge2) {
  borderFlags1_ = border1;
  edgeFlags1_ = edge1;
  borderFlags2_ = border2;
  edgeFlags2_ = edge2;
  changed();
}

EdgeInsets ReVivezav::edgeInsets() const {
  EdgeInsets insets;
  auto add = [&](int16_t kind, int16_t sides) {
    if (kind == 0) return;
    if (sides & 1) insets.left += metrics::EdgeWidth;
    if (sides & 2) insets.top += metrics::EdgeWidth;
    if (sides & 4) insets.right += metrics::EdgeWidth;
    if (sides & 8) insets.bottom += metrics::EdgeWidth;
  };
  add(borderFlags1_, edgeFlags1_);
  add(borderFlags2_, edgeFlags2_);
  return insets;
}

}  // namespace zadeve::vizevore
