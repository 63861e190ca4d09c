#include "vizevore/canvas.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cstdlib>

#include "automation/error.h"
#include "platform/profile_temporary.h"
#include "vizevore/font.h"

namespace zadeve::vizevore {

static_assert(sizeof(Color) == 4, "canvas pixels are handed to the PNG writer as bytes");

namespace {

bool isKeyColor(Color c) { return c.r == 255 && c.g == 0 && c.b == 255; }

int luminance(Color c) { return (c.r * 299 + c.g * 587 + c.b * 114) / 1000; }

uint8_t mix(uint8_t under, uint8_t over, int coverage) {
  return static_cast<uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
}

}  // namespace

Box Box::intersect(const Box& o) const {
  const int l = std::max(x, o.x), t = std::max(y, o.y);
  const int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
  return {l, t, std::max(0, r - l), std::max(0, b - t)};
}

Canvas::Canvas(int width, int height, Color background) : width_(width), height_(height) {
  if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
    automation::raise(automation::err::InvalidCall, "Canvas size " + std::to_string(width) +
                                                        "x" + std::to_string(height) +
                                                        " is not allowed");
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), background);
  clip_ = bounds();
}

Color Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    automation::raise(automation::err::Subscript, "Pixel " + std::to_string(x) + "," +
                                                      std::to_string(y) + " is outside");
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::setPixel(int x, int y, Color c) {
  if (inClip(x, y)) at(x, y) = c;
}

void Canvas::draw(const Canvas& source, int x, int y) {
  for (int sy = 0; sy < source.height_; ++sy)
    for (int sx = 0; sx < source.width_; ++sx) setPixel(x + sx, y + sy, source.pixels_[static_cast<size_t>(sy) * source.width_ + sx]);
}

void Canvas::blendPixel(int x, int y, Color c, uint8_t coverage) {
  if (!inClip(x, y) || coverage == 0) return;
  Color& p = at(x, y);
  if (coverage == 255) {
    p = c;
    return;
  }
  p = {mix(p.r, c.r, coverage), mix(p.g, c.g, coverage), mix(p.b, c.b, coverage),
       std::max(p.a, coverage)};
}

void Canvas::fillRect(const Box& r, Color c) {
  const Box area = r.intersect(clip_);
  for (int y = area.y; y < area.bottom(); ++y)
    std::fill_n(&at(area.x, y), area.w, c);
}

void Canvas::frameRect(const Box& r, Color c) {
  if (r.empty()) return;
  hLine(r.x, r.right() - 1, r.y, c);
  hLine(r.x, r.right() - 1, r.bottom() - 1, c);
  vLine(r.x, r.y, r.bottom() - 1, c);
  vLine(r.right() - 1, r.y, r.bottom() - 1, c);
}

void Canvas::hLine(int x0, int x1, int y, Color c) {
  if (x0 > x1) std::swap(x0, x1);
  fillRect({x0, y, x1 - x0 + 1, 1}, c);
}

void Canvas::vLine(int x, int y0, int y1, Color c) {
  if (y0 > y1) std::swap(y0, y1);
  fillRect({x, y0, 1, y1 - y0 + 1}, c);
}

void Canvas::line(int x0, int y0, int x1, int y1, Color c) {
  // Bresenham; long lines far outside the image are cheap enough for a toolbar.
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int e = dx + dy;
  for (;;) {
    setPixel(x0, y0, c);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * e;
    if (e2 >= dy) e += dy, x0 += sx;
    if (e2 <= dx) e += dx, y0 += sy;
  }
}

Box Canvas::drawEdge(const Box& outer, int kind, int sides) {
  Box r = outer;
  auto ring = [&](Color topLeft, Color bottomRight) {
    if (r.empty()) return;
    // Bottom and right go last so that the two far corners take their colour.
    if (sides & side::Top) hLine(r.x, r.right() - 1, r.y, topLeft);
    if (sides & side::Left) vLine(r.x, r.y, r.bottom() - 1, topLeft);
    if (sides & side::Bottom) hLine(r.x, r.right() - 1, r.bottom() - 1, bottomRight);
    if (sides & side::Right) vLine(r.right() - 1, r.y, r.bottom() - 1, bottomRight);
    if (sides & side::Left) ++r.x, --r.w;
    if (sides & side::Top) ++r.y, --r.h;
    if (sides & side::Right) --r.w;
    if (sides & side::Bottom) --r.h;
  };
  if (kind & edge::RaisedOuter)
    ring(colors::Light, colors::DarkShadow);
  else if (kind & edge::SunkenOuter)
    ring(colors::Shadow, colors::Highlight);
  if (kind & edge::RaisedInner)
    ring(colors::Highlight, colors::Shadow);
  else if (kind & edge::SunkenInner)
    ring(colors::DarkShadow, colors::Light);
  return {r.x, r.y, std::max(0, r.w), std::max(0, r.h)};
}

void Canvas::blit(const platform::Picture& picture, const Box& src, int x, int y,
                  Transparency t) {
  const Box from = src.intersect({0, 0, picture.width(), picture.height()});
  const int shiftX = x - src.x, shiftY = y - src.y;  // picture to canvas coordinates
  const Box to = Box{from.x + shiftX, from.y + shiftY, from.w, from.h}.intersect(clip_);
  for (int dy = to.y; dy < to.bottom(); ++dy) {
    for (int dx = to.x; dx < to.right(); ++dx) {
      const Color c = picture.pixel(dx - shiftX, dy - shiftY);
      if (t == Transparency::KeyColor && isKeyColor(c)) continue;
      blendPixel(dx, dy, {c.r, c.g, c.b, 255}, c.a);
    }
  }
}

void Canvas::blitDisabled(const platform::Picture& picture, const Box& src, int x, int y) {
  const Box from = src.intersect({0, 0, picture.width(), picture.height()});
  std::vector<uint8_t> mask(static_cast<size_t>(std::max(0, from.w)) * std::max(0, from.h));
  // Light areas (white paper, pale fills) vanish into the face; only the dark shapes of
  // the image stay, as an engraving.
  for (int py = 0; py < from.h; ++py)
    for (int px = 0; px < from.w; ++px) {
      const Color c = picture.pixel(from.x + px, from.y + py);
      mask[static_cast<size_t>(py) * from.w + px] = !isKeyColor(c) && c.a >= 128 && luminance(c) < 192;
    }
  const int ox = x + from.x - src.x, oy = y + from.y - src.y;
  for (int pass = 0; pass < 2; ++pass) {
    const int shift = pass == 0 ? 1 : 0;
    const Color c = pass == 0 ? colors::Highlight : colors::Shadow;
    for (int py = 0; py < from.h; ++py)
      for (int px = 0; px < from.w; ++px)
        if (mask[static_cast<size_t>(py) * from.w + px]) setPixel(ox + px + shift, oy + py + shift, c);
  }
}

int Canvas::drawText(int x, int top, std::string_view text, Color c, int pixelHeight) {
  const Font& font = Font::caption();
  const int baseline = top + font.metrics(pixelHeight).ascent;
  int pen = x;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    const GlyphBitmap& g = font.glyph(ch, pixelHeight);
    for (int gy = 0; gy < g.height; ++gy)
      for (int gx = 0; gx < g.width; ++gx)
        blendPixel(pen + g.left + gx, baseline + g.top + gy, c,
                   g.coverage[static_cast<size_t>(gy) * g.width + gx]);
    pen += g.advance;
    if (i + 1 < text.size())
      pen += font.kerning(ch, static_cast<unsigned char>(text[i + 1]), pixelHeight);
  }
  return pen - x;
}

int Canvas::measureText(std::string_view text, int pixelHeight) {
  return Font::caption().measure(text, pixelHeight);
}

std::string Canvas::fitText(std::string_view text, int maxWidth, int pixelHeight) {
  if (measureText(text, pixelHeight) <= maxWidth) return std::string(text);
  for (size_t n = text.size(); n-- > 0;) {
    std::string s = std::string(text.substr(0, n)) + "...";
    if (measureText(s, pixelHeight) <= maxWidth) return s;
  }
  return {};
}

std::vector<uint8_t> Canvas::encodePng() const {
  if (width_ == 0 || height_ == 0)
    automation::raise(automation::err::InvalidCall, "An empty canvas has no PNG form");
  std::vector<uint8_t> out;
  auto append = [](void* context, void* data, int size) {
    auto* bytes = static_cast<uint8_t*>(data);
    static_cast<std::vector<uint8_t>*>(context)->insert(
        static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
  };
  if (!stbi_write_png_to_func(append, &out, width_, height_, 4, pixels_.data(), width_ * 4))
    automation::raise(automation::err::InvalidCall, "PNG encoding failed");
  return out;
}

void Canvas::writePng(const std::string& path) const {
  const std::vector<uint8_t> png = encodePng();
  const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
  if (const int error = platform::writeOutputFile(platform::profileFileSystem(), path, bytes))
    automation::raise(automation::err::PathFileAccess,
                      "Path/File access error: " + path + ": " + platform::fileErrorText(error));
}

}  // namespace zadeve::vizevore
