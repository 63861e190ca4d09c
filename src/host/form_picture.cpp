#include "host/form_picture.h"

#include <algorithm>
#include <vector>

#include "automation/error.h"
#include "vizevore/paint.h"

namespace zadeve::host {

using vizevore::Box;
using vizevore::Canvas;
namespace colors = vizevore::colors;

namespace {

constexpr int LabelHeight = 12;

// The document a host would show in the free area: white under a sunken client edge,
// with its size written in the middle.
void paintDocument(Canvas& canvas, const Box& box) {
  if (box.empty()) return;
  canvas.fillRect(box, colors::Window);
  canvas.drawEdge(box, vizevore::edge::Sunken, vizevore::side::All);
  const std::string label = std::to_string(box.w) + " x " + std::to_string(box.h) + " free";
  const int width = Canvas::measureText(label, LabelHeight);
  if (width + 8 > box.w || LabelHeight + 8 > box.h) return;
  canvas.drawText(box.x + (box.w - width) / 2, box.y + (box.h - LabelHeight) / 2, label, colors::Shadow,
                  LabelHeight);
}

}  // namespace

Box freeBox(const HeadlessForm& form, const FreeRectangle& free) {
  const int tx = form.twipsPerPixelX(), ty = form.twipsPerPixelY();
  const int left = free.left / tx, top = free.top / ty;
  return {left, top, std::max(0, free.right / tx - left), std::max(0, free.bottom / ty - top)};
}

Canvas renderForm(const HeadlessForm& form) {
  const int w = form.pixelWidth(), h = form.pixelHeight();
  if (w <= 0 || h <= 0)
    automation::raise(automation::err::InvalidCall,
                      "The form " + form.name() + " has no client area to draw (" + std::to_string(w) + " x " +
                          std::to_string(h) + " pixels)");
  Canvas canvas(w, h, colors::Face);
  if (const auto& free = form.freeRectangle()) paintDocument(canvas, freeBox(form, *free));

  // Index order, except that bars the layout brought to the front are drawn last.
  std::vector<automation::Ref<vizevore::ReVivezav>> bars;
  for (int16_t i = 0; i <= form.bars().upperBound(); ++i)
    if (auto bar = form.bar(i); bar && bar->visible() && bar->width() > 0 && bar->height() > 0)
      bars.push_back(bar);
  std::stable_partition(bars.begin(), bars.end(), [](const auto& bar) { return bar->zOrderCount() == 0; });
  for (const auto& bar : bars)
    vizevore::paintToolbar(*bar, canvas, bar->left() / form.twipsPerPixelX(), bar->top() / form.twipsPerPixelY());
  return canvas;
}

std::vector<uint32_t> windowPixels(const Canvas& canvas) {
  std::vector<uint32_t> bits(canvas.pixels().size());
  for (size_t i = 0; i < bits.size(); ++i) {
    const auto& p = canvas.pixels()[i];
    bits[i] = uint32_t{p.b} | uint32_t{p.g} << 8 | uint32_t{p.r} << 16;
  }
  return bits;
}

}  // namespace zadeve::host
