// Flowing the items into rows (columns when vertical). Everything is computed in pixels
// and turned into twips at the end, so pixel and twip rectangles always agree.

#include <algorithm>

#include "vizevore/revivezav.h"

namespace zadeve::vizevore {
namespace {

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

bool isSpacer(const Item& item) { return item.kind == ItemKind::Gap || item.kind == ItemKind::Separator; }

bool isButtonLike(const Item& item) {
  return item.kind == ItemKind::PushButton || item.kind == ItemKind::ToggleButton ||
         item.kind == ItemKind::MenuItem;
}

bool takesRoom(const Item& item) { return item.visible && item.menu < 0; }

struct Placed {
  size_t item;
  int32_t along;
  int32_t alongSize;
  int32_t acrossSize;
};

struct Row {
  size_t first;  // into the placed list
  size_t count = 0;
  int32_t length = 0;
  int32_t depth = 0;
};

}  // namespace

void ReVivezav::layout() {
  using namespace metrics;
  dirty_ = false;
  ++layoutCount_;

  const int32_t pad = ButtonPadding;
  const int32_t rowBase = barHeight_ + 2 * pad;
  auto natural = [&](const Item& item) -> Size {
    int32_t faceW = std::max(item.imageWidth > 0 ? item.imageWidth : barHeight_, imageWidth_);
    int32_t faceH = std::max(item.imageHeight > 0 ? item.imageHeight : barHeight_, imageHeight_);
    switch (item.kind) {
      case ItemKind::Gap: return {GapLength, 0};
      case ItemKind::Separator: return {SeparatorLength, 0};
      case ItemKind::Combo: return {item.combo.width, rowBase};
      case ItemKind::Spin: return {item.spin.width, rowBase};
      case ItemKind::Panel: return {item.panel.width, rowBase};
      case ItemKind::Menu:
        return {CaptionPadding + measureText(item.caption) + MenuArrowWidth + CaptionPadding, rowBase};
      default: break;
    }
    Size size{faceW + 2 * pad, faceH + 2 * pad};
    if (showsCaption(item)) {
      int32_t text = measureText(item.caption);
      if (!showsImage(item)) {
        size.width = std::max(size.width, text + 2 * CaptionPadding);
      } else if ((item.flags & BF_CAPTIONMASK) == BF_CAPABOVE) {
        size.width = std::max(size.width, text + 2 * CaptionPadding);
        size.height += LineHeight;
      } else {
        size.width = pad + faceW + CaptionGap + text + CaptionPadding;
      }
    }
    size.width = std::max(size.width, item.leastWidth);
    return size;
  };

  std::vector<Size> sizes(items_.size());
  int32_t widestButton = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (!takesRoom(items_[i])) continue;
    sizes[i] = natural(items_[i]);
    if (isButtonLike(items_[i])) widestButton = std::max(widestButton, sizes[i].width);
  }

  const EdgeInsets ins = edgeInsets();
  const int32_t alongStart = vertical_ ? ins.top : ins.left;
  const int32_t acrossStart = vertical_ ? ins.left : ins.top;
  const int32_t alongInsets = vertical_ ? ins.top + ins.bottom : ins.left + ins.right;
  const int32_t acrossInsets = vertical_ ? ins.left + ins.right : ins.top + ins.bottom;
  const int32_t available = (vertical_ ? height_ : width_) / twipsPerPixel_ - alongInsets;

  std::vector<Placed> placed;
  std::vector<Row> rows;
  int32_t longest = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    Item& item = items_[i];
    item.rect = item.pixelRect = Rect{};
    if (!takesRoom(item)) continue;
    Size size = sizes[i];
    if (isButtonLike(item) && (item.flags & BF_MAXWIDTH)) size.width = widestButton;
    int32_t along = vertical_ ? size.height : size.width;
    int32_t across = vertical_ ? size.width : size.height;
    if (isSpacer(item)) {
      along = size.width;
      across = 0;
    }
    longest = std::max(longest, along);
    if (rows.empty() || (rows.back().count > 0 && rows.back().length + along > available))
      rows.push_back(Row{placed.size()});
    Row& row = rows.back();
    // A wrap point swallows the spacing that caused it.
    if (isSpacer(item) && row.count == 0 && rows.size() > 1) along = 0;
    placed.push_back({i, row.length, along, across});
    row.length += along;
    row.depth = std::max({row.depth, across, rowBase});
    ++row.count;
  }

  int32_t idealLength = 0;
  int32_t acrossPos = acrossStart;
  for (const Row& row : rows) {
    idealLength = std::max(idealLength, row.length);
    int32_t springs = 0;
    for (size_t p = row.first; p < row.first + row.count; ++p) {
      const Item& item = items_[placed[p].item];
      if (item.kind == ItemKind::Panel && item.panel.spring) ++springs;
    }
    int32_t spare = std::max(0, available - row.length);
    int32_t shift = 0;
    for (size_t p = row.first; p < row.first + row.count; ++p) {
      Placed& at = placed[p];
      Item& item = items_[at.item];
      at.along += shift;
      if (springs > 0 && item.kind == ItemKind::Panel && item.panel.spring) {
        int32_t extra = spare / springs + (spare % springs > 0 ? 1 : 0);
        spare -= extra;
        --springs;
        at.alongSize += extra;
        shift += extra;
      }
      int32_t acrossSize = isSpacer(item) ? row.depth : at.acrossSize;
      int32_t acrossAt = acrossPos + (row.depth - acrossSize) / 2;
      int32_t alongAt = alongStart + at.along;
      item.pixelRect = vertical_ ? Rect{acrossAt, alongAt, acrossSize, at.alongSize}
                                 : Rect{alongAt, acrossAt, at.alongSize, acrossSize};
      const int32_t t = twipsPerPixel_;
      item.rect = Rect{item.pixelRect.left * t, item.pixelRect.top * t, item.pixelRect.width * t,
                       item.pixelRect.height * t};
    }
    acrossPos += row.depth;
  }

  minLength_ = (longest + alongInsets) * twipsPerPixel_;
  idealLength_ = (idealLength + alongInsets) * twipsPerPixel_;
  idealDepth_ = (acrossPos - acrossStart + acrossInsets) * twipsPerPixel_;
}

}  // namespace zadeve::vizevore
