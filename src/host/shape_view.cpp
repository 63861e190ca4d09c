#include "host/shape_view.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "automation/conversions.h"

namespace zadeve::host {

using namespace automation;

namespace {

constexpr int MaxSymbolSide = 256;
constexpr platform::Rgba Ink{0, 0, 128};
constexpr platform::Rgba Fill{0, 160, 200};

enum class Shape { Disc, Square, Triangle, Diamond };

// A shape the name asks for ("Ellipse", "Big square", ...), else a stable choice by
// the name, so the same symbol always looks the same.
Shape shapeOf(const std::string& symbol) {
  const std::string name = toUpper(symbol);
  const std::pair<const char*, Shape> words[] = {
      {"ELLIPSE", Shape::Disc},     {"CIRCLE", Shape::Disc},       {"DISC", Shape::Disc},
      {"RECT", Shape::Square},      {"SQUARE", Shape::Square},     {"TRIANGLE", Shape::Triangle},
      {"DIAMOND", Shape::Diamond},
  };
  for (const auto& [word, shape] : words)
    if (name.find(word) != std::string::npos) return shape;
  uint32_t h = 2166136261u;
  for (char c : name) h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
  return static_cast<Shape>(h % 4);
}

// Whether (x, y) of a w x h picture lies inside the shape; the outline is the inside
// pixels with a neighbour outside.
bool inside(Shape shape, double x, double y, int w, int h) {
  const double u = (x + 0.5) / w * 2 - 1, v = (y + 0.5) / h * 2 - 1;  // -1..1
  const double m = 0.8;  // margin, so the outline stays within the picture
  switch (shape) {
    case Shape::Disc: return u * u + v * v <= m * m;
    case Shape::Square: return std::abs(u) <= m * 0.85 && std::abs(v) <= m * 0.85;
    case Shape::Triangle: return v <= m && v >= -m && std::abs(u) <= (v + m) / 2;
    case Shape::Diamond: return std::abs(u) + std::abs(v) <= m;
  }
  return false;
}

}  // namespace

platform::Rgba fromColourValue(int32_t colour) {
  const auto c = static_cast<uint32_t>(colour);
  return {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>((c >> 8) & 0xFF),
          static_cast<uint8_t>((c >> 16) & 0xFF), 255};
}

Ref<platform::Picture> drawSymbol(const std::string& symbol, int width, int height, platform::Rgba background) {
  const Shape shape = shapeOf(symbol);
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
  auto in = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && inside(shape, x, y, width, height);
  };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      platform::Rgba c = background;
      if (in(x, y)) c = (in(x - 1, y) && in(x + 1, y) && in(x, y - 1) && in(x, y + 1)) ? Fill : Ink;
      uint8_t* p = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
      p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
    }
  }
  return platform::Picture::fromPixels(width, height, std::move(rgba));
}

void ShapeView::setShapePictureInfo(int32_t height, int32_t width, int32_t colour, const std::string& symbol) {
  auto check = [](int32_t side, const char* what) {
    if (side < 1 || side > MaxSymbolSide)
      raise(err::InvalidCall, std::string("The symbol picture's ") + what + " must lie between 1 and " +
                                  std::to_string(MaxSymbolSide) + " pixels, not " + std::to_string(side));
  };
  check(height, "height");
  check(width, "width");
  slot_->picture = drawSymbol(symbol, width, height, fromColourValue(colour));
  slot_->symbol = symbol;
}

Ref<platform::Picture> ShapeView::shapePicture() const {
  if (!slot_->picture) raise(err::ObjectNotSet, "No shape picture was prepared (call SetShapePictureInfo first)");
  return slot_->picture;
}

const MemberTable<ShapeView>& ShapeView::memberTable() {
  using V = VarType;
  using T = ShapeView;
  static const MemberTable<T> table(
      "ShapeView",
      {
          {{"SetShapePictureInfo", 1, InvokeKind::Method,
            {byRef("height", V::Integer), byRef("width", V::Integer), byVal("reserved", V::Integer),
             byVal("colour", V::Long), byRef("symbol", V::String), byVal("style", V::Integer)}},
           [](T& t, CallArgs& a) {
             t.setShapePictureInfo(a.integer(0), a.integer(1), a.long_(3), a.string(4));
             return Variant();
           }},
          {{"ShapePicture", 2, InvokeKind::PropertyGet, {}, V::Object},
           [](T& t, CallArgs&) { return Variant(t.shapePicture()); }},
      });
  return table;
}

}  // namespace zadeve::host
