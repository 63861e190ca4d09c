#include "vizevore/paint.h"

#include <algorithm>

#include "vizevore/paint_parts.h"

namespace zadeve::vizevore {

using namespace paint_detail;

namespace {

class BarPainter {
 public:
  BarPainter(const ReVivezav& bar, Canvas& canvas, int x, int y, const PointerLook& pointer)
      : bar_(bar), canvas_(canvas), x_(x), y_(y), pointer_(pointer) {}

  void paint() {
    const Box size = paintedSize(bar_);
    const Box whole{x_, y_, size.w, size.h};
    ClipScope clip(canvas_, whole);
    canvas_.fillRect(whole, colors::Face);
    border(whole);
    for (int32_t i = 0; i < bar_.itemCount(); ++i) {
      const Item& item = bar_.items()[static_cast<size_t>(i)];
      if (item.pixelRect.empty() || !item.visible) continue;
      const Box box = boxOf(item.pixelRect, x_, y_);
      ClipScope itemClip(canvas_, box);
      // A disabled item does not answer the mouse, so it does not show it either.
      const bool pointed = pointer_.item == i && item.enabled();
      paintItem(item, box, pointed ? pointer_ : PointerLook{});
    }
  }

 private:
  const ReVivezav& bar_;
  Canvas& canvas_;
  int x_, y_;
  PointerLook pointer_;

  // The first border kind on its sides, the second inside it; each takes the width the
  // layout reserves for it whether it draws one ring or two.
  void border(Box box) {
    const std::pair<int, int> borders[] = {{bar_.borderFlags1(), bar_.edgeFlags1()},
                                           {bar_.borderFlags2(), bar_.edgeFlags2()}};
    for (auto [kind, sides] : borders) {
      if (kind == 0) continue;
      sides &= side::All;
      canvas_.drawEdge(box, kind & 15, sides);
      const int e = metrics::EdgeWidth;
      if (sides & side::Left) box.x += e, box.w -= e;
      if (sides & side::Top) box.y += e, box.h -= e;
      if (sides & side::Right) box.w -= e;
      if (sides & side::Bottom) box.h -= e;
    }
  }

  void paintItem(const Item& item, const Box& box, const PointerLook& pointer) {
    const ItemPart held = pointer.pressed ? pointer.part : ItemPart::None;
    switch (item.kind) {
      case ItemKind::PushButton:
      case ItemKind::ToggleButton:
      case ItemKind::MenuItem: button(item, box, pointer); break;
      case ItemKind::Menu: menu(item, box, pointer); break;
      case ItemKind::Combo: paintCombo(canvas_, item, box, held); break;
      case ItemKind::Spin: paintSpin(canvas_, item, box, held); break;
      case ItemKind::Panel: paintPanel(canvas_, item, box); break;
      case ItemKind::Separator: separator(box); break;
      case ItemKind::Gap: break;
    }
  }

  // The pressed look; returns the box the content moves into. Under the mouse a flat
  // button rises; held down it sinks without the latched button's dither.
  Box pressedFace(const Item& item, const Box& box, const PointerLook& pointer) {
    if (!item.on() && !(item.flags & BF_DOWN)) {
      if (pointer.part != ItemPart::Face) return box;
      if (!pointer.pressed) {
        canvas_.drawEdge(box, edge::RaisedOuter, side::All);
        return box;
      }
      canvas_.drawEdge(box, edge::SunkenOuter, side::All);
      return {box.x + 1, box.y + 1, box.w, box.h};
    }
    const Box inside = canvas_.drawEdge(box, edge::SunkenOuter, side::All);
    // A latched button shows a dithered face, so it reads as "on" even under the mouse.
    for (int y = inside.y; y < inside.bottom(); ++y)
      for (int x = inside.x + (y + inside.x) % 2; x < inside.right(); x += 2)
        canvas_.setPixel(x, y, colors::Highlight);
    return {box.x + 1, box.y + 1, box.w, box.h};
  }

  void button(const Item& item, const Box& box, const PointerLook& pointer) {
    const Box content = pressedFace(item, box, pointer);
    const Enabled enabled = item.enabled() ? Enabled::Yes : Enabled::No;
    const bool image = bar_.showsImage(item), caption = bar_.showsCaption(item);
    const int pad = metrics::ButtonPadding;
    // The image area the layout sized the button for.
    const int faceW =
        std::max(item.imageWidth > 0 ? item.imageWidth : bar_.barHeight(), bar_.imageWidth());
    if (!caption) {
      if (image) drawImage(item, content, enabled);
      return;
    }
    const int width = Canvas::measureText(item.caption, CaptionPixelHeight);
    if (!image) {
      const std::string text =
          Canvas::fitText(item.caption, content.w - 2 * metrics::CaptionPadding, CaptionPixelHeight);
      const int w = Canvas::measureText(text, CaptionPixelHeight);
      drawCaption(canvas_, content.x + (content.w - w) / 2, captionTop(content), text, enabled);
      return;
    }
    switch (item.flags & BF_CAPTIONMASK) {
      case BF_CAPABOVE:
        drawCaption(canvas_, content.x + (content.w - width) / 2, content.y + pad, item.caption,
                    enabled);
        drawImage(item, {content.x, content.y + metrics::LineHeight, content.w,
                         content.h - metrics::LineHeight}, enabled);
        break;
      case BF_CAPLEFT:
        drawCaption(canvas_, content.x + metrics::CaptionPadding, captionTop(content),
                    item.caption, enabled);
        drawImage(item, {content.right() - pad - faceW, content.y, faceW, content.h}, enabled);
        break;
      default:  // right of the image
        drawImage(item, {content.x + pad, content.y, faceW, content.h}, enabled);
        drawCaption(canvas_, content.x + pad + faceW + metrics::CaptionGap, captionTop(content),
                    item.caption, enabled);
        break;
    }
  }

  // The item's image centred in `area`. A set whose picture is not one of ours, or an
  // index past the end of the strip, draws nothing: the button keeps its room.
  void drawImage(const Item& item, const Box& area, Enabled enabled) {
    const ImageSet* set = bar_.imageSet(item.image.set);
    if (!set) return;
    const auto* picture = dynamic_cast<const platform::Picture*>(set->picture.get());
    if (!picture) return;
    const int w = set->imageWidth > 0 ? set->imageWidth : bar_.imageWidth();
    const int h = set->imageHeight > 0 ? set->imageHeight : bar_.imageHeight();
    const int64_t sx = int64_t{item.image.index} * w;
    if (w <= 0 || h <= 0 || sx >= picture->width()) return;
    const Box src{static_cast<int>(sx), 0, w, h};
    const int x = area.x + (area.w - w) / 2, y = area.y + (area.h - h) / 2;
    if (enabled == Enabled::Yes)
      canvas_.blit(*picture, src, x, y);
    else
      canvas_.blitDisabled(*picture, src, x, y);
  }

  void menu(const Item& item, const Box& box, const PointerLook& pointer) {
    const Box content = pressedFace(item, box, pointer);
    const Enabled enabled = item.enabled() ? Enabled::Yes : Enabled::No;
    const int room = content.w - 2 * metrics::CaptionPadding - metrics::MenuArrowWidth;
    drawCaption(canvas_, content.x + metrics::CaptionPadding, captionTop(content),
                Canvas::fitText(item.caption, room, CaptionPixelHeight), enabled);
    const int cx = content.right() - metrics::CaptionPadding - metrics::MenuArrowWidth / 2;
    const int cy = content.y + content.h / 2;
    drawArrow(canvas_, cx, cy, 5, Arrow::Down,
              enabled == Enabled::Yes ? colors::Text : colors::Shadow);
  }

  // An etched line across the row: upright in a horizontal bar, level in a vertical one.
  void separator(const Box& box) {
    if (bar_.vertical()) {
      const int y = box.y + box.h / 2 - 1;
      canvas_.hLine(box.x + 2, box.right() - 3, y, colors::Shadow);
      canvas_.hLine(box.x + 2, box.right() - 3, y + 1, colors::Highlight);
    } else {
      const int x = box.x + box.w / 2 - 1;
      canvas_.vLine(x, box.y + 2, box.bottom() - 3, colors::Shadow);
      canvas_.vLine(x + 1, box.y + 2, box.bottom() - 3, colors::Highlight);
    }
  }
};

}  // namespace

Box paintedSize(const ReVivezav& bar) {
  const int tpp = std::max(1, bar.twipsPerPixel());
  int w = bar.width() / tpp, h = bar.height() / tpp;
  if (w <= 0 || h <= 0) {
    const int length = bar.idealLength() / tpp, depth = bar.idealDepth() / tpp;
    w = bar.vertical() ? depth : length;
    h = bar.vertical() ? length : depth;
  }
  return {0, 0, std::clamp(w, 1, Canvas::MaxSide), std::clamp(h, 1, Canvas::MaxSide)};
}

Canvas paintToolbar(const ReVivezav& bar, const PointerLook& pointer) {
  const Box size = paintedSize(bar);
  Canvas canvas(size.w, size.h);
  paintToolbar(bar, canvas, 0, 0, pointer);
  return canvas;
}

void paintToolbar(const ReVivezav& bar, Canvas& canvas, int x, int y, const PointerLook& pointer) {
  BarPainter(bar, canvas, x, y, pointer).paint();
}

PointerLook hitTest(const ReVivezav& bar, int x, int y) {
  for (int32_t i = 0; i < bar.itemCount(); ++i) {
    const Item& item = bar.items()[static_cast<size_t>(i)];
    if (item.pixelRect.empty() || !item.visible || item.kind == ItemKind::Gap ||
        item.kind == ItemKind::Separator)
      continue;
    const Box box = boxOf(item.pixelRect, 0, 0);
    auto inside = [&](const Box& b) { return x >= b.x && y >= b.y && x < b.right() && y < b.bottom(); };
    if (!inside(box)) continue;
    ItemPart part = ItemPart::Face;
    if (item.kind == ItemKind::Spin) {
      const auto [up, down] = spinArrows(box);
      if (inside(up)) part = ItemPart::SpinUp;
      if (inside(down)) part = ItemPart::SpinDown;
    } else if (item.kind == ItemKind::Combo && inside(comboDropButton(box))) {
      part = ItemPart::DropButton;
    }
    return {i, part, false};
  }
  return {};
}

Box spinValueBox(const ReVivezav& bar, int32_t spin) {
  return spinValueField(boxOf(bar.item(spin).pixelRect, 0, 0));
}


}  // namespace zadeve::vizevore
