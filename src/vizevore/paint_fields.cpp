// Combos, spins and panels: the items that show a value rather than an image.

#include <algorithm>

#include "automation/conversions.h"
#include "vizevore/paint.h"
#include "vizevore/paint_parts.h"

namespace zadeve::vizevore::paint_detail {

namespace {

constexpr int DropButtonWidth = 16;
constexpr int FieldPadding = 2;

// The sunken white field of combos and spins; returns its inside.
Box drawField(Canvas& canvas, const Box& box, Enabled enabled) {
  const Box inside = canvas.drawEdge(box, edge::Sunken, side::All);
  canvas.fillRect(inside, enabled == Enabled::Yes ? colors::Window : colors::Face);
  return inside;
}

// A small raised button with an arrow, as in the drop part of a combo or a spin; held
// down, it sinks and its arrow moves one pixel down and right.
void drawArrowButton(Canvas& canvas, const Box& box, Arrow arrow, Enabled enabled, int size,
                     bool pressed = false) {
  canvas.fillRect(box, colors::Face);
  const Box inside = canvas.drawEdge(box, pressed ? edge::Sunken : edge::Raised, side::All);
  const int shift = pressed ? 1 : 0;
  const int cx = inside.x + inside.w / 2 + shift, cy = inside.y + inside.h / 2 + shift;
  if (enabled == Enabled::No) drawArrow(canvas, cx + 1, cy + 1, size, arrow, colors::Highlight);
  drawArrow(canvas, cx, cy, size, arrow, enabled == Enabled::Yes ? colors::Text : colors::Shadow);
}

Enabled enabledOf(const Item& item) { return item.enabled() ? Enabled::Yes : Enabled::No; }

}  // namespace

int captionTop(const Box& box) { return box.y + (box.h - CaptionPixelHeight) / 2; }

int drawCaption(Canvas& canvas, int x, int top, std::string_view text, Enabled enabled) {
  if (enabled == Enabled::Yes) return canvas.drawText(x, top, text, colors::Text, CaptionPixelHeight);
  canvas.drawText(x + 1, top + 1, text, colors::Highlight, CaptionPixelHeight);
  return canvas.drawText(x, top, text, colors::Shadow, CaptionPixelHeight);
}

void drawArrow(Canvas& canvas, int cx, int cy, int size, Arrow arrow, Color color) {
  const int half = size / 2, rows = half + 1;
  const int top = cy - rows / 2;
  for (int i = 0; i < rows; ++i) {
    const int w = arrow == Arrow::Down ? half - i : i;
    canvas.hLine(cx - w, cx + w, top + i, color);
  }
}

Box comboDropButton(const Box& box) {
  const Box inside = box.inset(1).inset(metrics::EdgeWidth);
  const int buttonWidth = std::min(DropButtonWidth, inside.w);
  return {inside.right() - buttonWidth, inside.y, buttonWidth, inside.h};
}

SpinArrows spinArrows(const Box& box) {
  const Box field = box.inset(1);
  const int arrowsWidth = std::min(metrics::SpinArrowWidth, field.w);
  const int upHeight = field.h / 2;
  const Box up{field.right() - arrowsWidth, field.y, arrowsWidth, upHeight};
  return {up, {up.x, field.y + upHeight, arrowsWidth, field.h - upHeight}};
}

Box spinValueField(const Box& box) {
  const Box field = box.inset(1);
  const Box inside{field.x, field.y, field.w - spinArrows(box).up.w, field.h};
  return inside.inset(metrics::EdgeWidth);
}

void paintCombo(Canvas& canvas, const Item& item, const Box& box, ItemPart pressed) {
  const Enabled enabled = enabledOf(item);
  const Box inside = drawField(canvas, box.inset(1), enabled);
  const Box drop = comboDropButton(box);
  drawArrowButton(canvas, drop, Arrow::Down, enabled, 7, pressed == ItemPart::DropButton);
  const Box text{inside.x + FieldPadding, inside.y, inside.w - drop.w - 2 * FieldPadding,
                 inside.h};
  ClipScope clip(canvas, text);
  drawCaption(canvas, text.x, captionTop(text),
              Canvas::fitText(item.combo.selectedText(), text.w, CaptionPixelHeight), enabled);
}

void paintSpin(Canvas& canvas, const Item& item, const Box& box, ItemPart pressed) {
  const Enabled enabled = enabledOf(item);
  const Box field = box.inset(1);
  const auto [up, down] = spinArrows(box);
  const Box inside = drawField(canvas, {field.x, field.y, field.w - up.w, field.h}, enabled);
  drawArrowButton(canvas, up, Arrow::Up, enabled, 5, pressed == ItemPart::SpinUp);
  drawArrowButton(canvas, down, Arrow::Down, enabled, 5, pressed == ItemPart::SpinDown);

  // Numbers line up on the right, as in any numeric field.
  ClipScope clip(canvas, {inside.x + FieldPadding, inside.y, inside.w - 2 * FieldPadding, inside.h});
  const std::string value = automation::formatSingle(item.spin.value);
  const int width = Canvas::measureText(value, CaptionPixelHeight);
  drawCaption(canvas, inside.right() - FieldPadding - width, captionTop(inside), value, enabled);
}

void paintPanel(Canvas& canvas, const Item& item, const Box& box) {
  const Enabled enabled = enabledOf(item);
  int kind = 0;
  if (item.flags & BF_DIP)
    kind = edge::SunkenOuter;
  else if (item.flags & BF_BUMP)
    kind = edge::RaisedInner;
  const Box inside = canvas.drawEdge(box, kind, side::All);

  const int progress = std::clamp<int>(item.panel.progress, 0, 100);
  const int filled = inside.w * progress / 100;
  const Box bar{inside.x, inside.y, filled, inside.h};
  const Box rest{inside.x + filled, inside.y, inside.w - filled, inside.h};
  canvas.fillRect(bar, colors::Selection);

  const int x = inside.x + metrics::CaptionPadding;
  const std::string text =
      Canvas::fitText(item.caption, inside.w - 2 * metrics::CaptionPadding, CaptionPixelHeight);
  // The caption changes colour where the progress fill runs under it.
  {
    ClipScope clip(canvas, rest);
    drawCaption(canvas, x, captionTop(inside), text, enabled);
  }
  ClipScope clip(canvas, bar);
  canvas.drawText(x, captionTop(inside), text, colors::Highlight, CaptionPixelHeight);
}

}  // namespace zadeve::vizevore::paint_detail
