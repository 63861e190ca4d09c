#include "host/desktop_picture.h"

#include <algorithm>

#include "host/form_picture.h"
#include "palette/tool_palette.h"
#include "vizevore/paint.h"

namespace zadeve::host {

using platform::HeadlessWindowing;
using vizevore::Box;
using vizevore::Canvas;
namespace colors = vizevore::colors;

namespace {

constexpr int Margin = 16;
constexpr vizevore::Color Desktop{58, 110, 165};
constexpr vizevore::Color CaptionText{255, 255, 255};
constexpr int CaptionTextHeight = 12;

// Frame, caption and close box; returns the client area's box.
Box paintFrame(Canvas& canvas, const platform::PixelRect& r, const std::string& caption) {
  const Box outer{r.left, r.top, r.width(), r.height()};
  canvas.fillRect(outer, colors::Face);
  canvas.drawEdge(outer, vizevore::edge::Raised, vizevore::side::All);
  const int f = HeadlessWindowing::FramePixels;
  const Box bar{outer.x + f, outer.y + f, outer.w - 2 * f, HeadlessWindowing::CaptionPixels - 1};
  canvas.fillRect(bar, colors::Selection);
  // The close box: a raised square with a cross.
  const int side = bar.h - 4;
  const Box close{bar.right() - side - 2, bar.y + 2, side, side};
  if (close.x > bar.x + 4) {
    canvas.fillRect(close, colors::Face);
    canvas.drawEdge(close, vizevore::edge::Raised, vizevore::side::All);
    canvas.line(close.x + 4, close.y + 4, close.right() - 5, close.bottom() - 5, colors::Text);
    canvas.line(close.right() - 5, close.y + 4, close.x + 4, close.bottom() - 5, colors::Text);
  }
  const int room = close.x - bar.x - 6;
  const std::string shown = Canvas::fitText(caption, room, CaptionTextHeight);
  canvas.drawText(bar.x + 3, bar.y + (bar.h - CaptionTextHeight) / 2, shown, CaptionText, CaptionTextHeight);
  const auto client = HeadlessWindowing::clientOnScreen(r);
  return {client.left, client.top, client.width(), client.height()};
}

}  // namespace

Canvas renderDesktop(const HeadlessWindowing& screen, const std::vector<const HeadlessForm*>& forms) {
  int width = 0, height = 0;
  for (auto handle : screen.stacking()) {
    const auto& w = screen.window(handle);
    if (!w.visible) continue;
    width = std::max(width, w.rect.right);
    height = std::max(height, w.rect.bottom);
  }
  width = std::min(width + Margin, Canvas::MaxSide);
  height = std::min(height + Margin, Canvas::MaxSide);
  Canvas canvas(width, height, Desktop);

  const auto palettes = palette::FrmToolPalette::loadedPalettes();
  for (auto handle : screen.stacking()) {
    const auto& w = screen.window(handle);
    if (!w.visible) continue;
    const Box client = paintFrame(canvas, w.rect, w.caption);
    canvas.setClip(client);
    auto form = std::find_if(forms.begin(), forms.end(), [&](const HeadlessForm* f) { return f->hWnd() == handle; });
    if (form != forms.end() && (*form)->pixelWidth() > 0 && (*form)->pixelHeight() > 0) {
      canvas.draw(renderForm(**form), client.x, client.y);
    } else {
      auto p = std::find_if(palettes.begin(), palettes.end(), [&](const auto& p) { return p->hWnd() == handle; });
      if (p != palettes.end())
        if (auto bar = automation::objectAs<vizevore::ReVivezav>((*p)->bar()))
          vizevore::paintToolbar(*bar, canvas, client.x + bar->left() / bar->twipsPerPixel(),
                                 client.y + bar->top() / bar->twipsPerPixel());
    }
    canvas.resetClip();
  }
  return canvas;
}

}  // namespace zadeve::host
