#pragma once
// An RGBA image to paint on, with the few primitives a toolbar needs: filled and outlined
// rectangles, lines, three-dimensional edges, picture blits with a transparent colour,
// greyed-out blits for disabled buttons, text, and PNG output. Every primitive clips to
// the image, so callers may draw partly or wholly outside it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/object.h"
#include "platform/picture.h"

namespace zadeve::vizevore {

using Color = platform::Rgba;

// A rectangle in pixels (the control's own Rect is in twips or pixels as it says).
struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }  // one past the last column
  int bottom() const { return y + h; }
  bool empty() const { return w <= 0 || h <= 0; }
  Box inset(int d) const { return {x + d, y + d, w - 2 * d, h - 2 * d}; }
  Box intersect(const Box& o) const;
  friend bool operator==(const Box&, const Box&) = default;
};

// The classic desktop scheme the control paints in.
namespace colors {
inline constexpr Color Face{212, 208, 200};
inline constexpr Color Highlight{255, 255, 255};
inline constexpr Color Light{212, 208, 200};
inline constexpr Color Shadow{128, 128, 128};
inline constexpr Color DarkShadow{64, 64, 64};
inline constexpr Color Text{0, 0, 0};
inline constexpr Color Window{255, 255, 255};
inline constexpr Color Selection{10, 36, 106};
inline constexpr Color Transparent{255, 0, 255};  // the key colour of icon strips
}  // namespace colors

// Edge kinds: which of the two one-pixel rings are drawn, and how. The values combine
// like the border-kind numbers a host gives the bar (6 = etched).
namespace edge {
inline constexpr int RaisedOuter = 1;
inline constexpr int SunkenOuter = 2;
inline constexpr int RaisedInner = 4;
inline constexpr int SunkenInner = 8;
inline constexpr int Raised = RaisedOuter | RaisedInner;
inline constexpr int Sunken = SunkenOuter | SunkenInner;
inline constexpr int Etched = SunkenOuter | RaisedInner;
inline constexpr int Bump = RaisedOuter | SunkenInner;
}  // namespace edge

// Sides of a rectangle, combined as the bar's edge flags are.
namespace side {
inline constexpr int Left = 1;
inline constexpr int Top = 2;
inline constexpr int Right = 4;
inline constexpr int Bottom = 8;
inline constexpr int All = Left | Top | Right | Bottom;
}  // namespace side

enum class Transparency : uint8_t { Opaque, KeyColor };

class Canvas {
 public:
  // Sizes from 0 to MaxSide; anything else raises 5.
  static constexpr int MaxSide = 16384;
  Canvas(int width, int height, Color background = colors::Face);

  int width() const { return width_; }
  int height() const { return height_; }
  Box bounds() const { return {0, 0, width_, height_}; }
  Color pixel(int x, int y) const;
  const std::vector<Color>& pixels() const { return pixels_; }

  // Every primitive draws only inside the clip box (initially the whole image).
  void setClip(const Box& clip) { clip_ = clip.intersect(bounds()); }
  void resetClip() { clip_ = bounds(); }
  Box clip() const { return clip_; }

  void setPixel(int x, int y, Color c);
  // Mixes c over the pixel with the given coverage (0 leaves it, 255 replaces it).
  void blendPixel(int x, int y, Color c, uint8_t coverage);
  void fillRect(const Box& r, Color c);
  void frameRect(const Box& r, Color c);
  void hLine(int x0, int x1, int y, Color c);  // x0..x1 inclusive, either order
  void vLine(int x, int y0, int y1, Color c);
  void line(int x0, int y0, int x1, int y1, Color c);

  // Draws the rings of `kind` (edge:: bits) on the given sides (side:: bits) and returns
  // the rectangle inside them; sides not drawn do not shrink.
  Box drawEdge(const Box& r, int kind, int sides);

  // Copies src of the picture to (x, y). With KeyColor, magenta pixels are left out;
  // pixels with partial alpha are blended either way.
  void blit(const platform::Picture& picture, const Box& src, int x, int y,
            Transparency t = Transparency::KeyColor);
  // Copies another canvas whole to (x, y).
  void draw(const Canvas& source, int x, int y);
  // The greyed-out look of a disabled image: its dark shapes embossed in shadow and
  // highlight, its colours gone.
  void blitDisabled(const platform::Picture& picture, const Box& src, int x, int y);

  // Text in the caption font: (x, top) is the top-left of the line box of the given pixel
  // height. Returns the width drawn.
  int drawText(int x, int top, std::string_view text, Color c, int pixelHeight);
  static int measureText(std::string_view text, int pixelHeight);
  // Text shortened with "..." to fit maxWidth (empty when not even that fits).
  static std::string fitText(std::string_view text, int maxWidth, int pixelHeight);

  std::vector<uint8_t> encodePng() const;
  // Writes the PNG beside the path and renames it into place, so a failed write leaves the
  // old file; raises 75 (path/file access error) with the path and the reason when it cannot.
  void writePng(const std::string& path) const;

 private:
  int width_;
  int height_;
  std::vector<Color> pixels_;
  Box clip_;

  bool inClip(int x, int y) const {
    return x >= clip_.x && y >= clip_.y && x < clip_.right() && y < clip_.bottom();
  }
  Color& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
};

}  // namespace zadeve::vizevore
