// icon_strips OUTDIR: draws the diagram editor's button images and writes them as two
// icon strips, OUTDIR/icons16.bmp (16 x 15 each) and OUTDIR/icons24.bmp (24 x 24 each),
// uncompressed 24-bit BMPs whose magenta background the toolbar leaves transparent.
//
// Every pictogram is drawn once, on a 16 x 16 design grid, and sampled at the centre of
// each pixel of the target size, so both strips show the same pictures and the output is
// the same byte for byte on every machine (no floating-point text formatting, no clock).
// The checked-in strips in examples/diagram/ are this program's output; the build checks
// that they still are.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct Color {
  uint8_t r, g, b;
};

constexpr Color Key{255, 0, 255};
constexpr Color Ink{0, 0, 0};
constexpr Color Paper{255, 255, 255};
constexpr Color Grey{128, 128, 128};
constexpr Color Silver{192, 192, 192};
constexpr Color Navy{0, 0, 128};
constexpr Color Blue{0, 96, 208};
constexpr Color Sky{160, 208, 255};
constexpr Color Red{208, 0, 0};
constexpr Color Green{0, 144, 0};
constexpr Color Yellow{255, 208, 64};
constexpr Color Brown{144, 96, 32};

struct Point {
  double x, y;
};

// One image being drawn: design coordinates 0..16 in both directions map onto the image.
class Icon {
 public:
  Icon(int width, int height) : w_(width), h_(height), pixels_(static_cast<size_t>(width * height), Key) {}

  int width() const { return w_; }
  int height() const { return h_; }
  Color at(int x, int y) const { return pixels_[static_cast<size_t>(y * w_ + x)]; }

  void fill(double x0, double y0, double x1, double y1, Color c) {
    paint(c, [&](Point p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; });
  }
  void frame(double x0, double y0, double x1, double y1, Color c) {
    line(x0, y0, x1, y0, c);
    line(x1, y0, x1, y1, c);
    line(x1, y1, x0, y1, c);
    line(x0, y1, x0, y0, c);
  }
  void box(double x0, double y0, double x1, double y1, Color inside, Color edge = Ink) {
    fill(x0, y0, x1, y1, inside);
    frame(x0, y0, x1 - 1, y1 - 1, edge);
  }
  // A line through the centres of the design cells (x0, y0) and (x1, y1).
  void line(double x0, double y0, double x1, double y1, Color c, double thickness = 1) {
    const Point a = toPixels({x0 + 0.5, y0 + 0.5}), b = toPixels({x1 + 0.5, y1 + 0.5});
    const double half = 0.5 * thickness * scale() + 0.01;
    paintPixels(c, [&](Point p) { return distance(p, a, b) <= half; });
  }
  void disc(double cx, double cy, double rx, double ry, Color c) {
    paint(c, [&](Point p) { return sq((p.x - cx) / rx) + sq((p.y - cy) / ry) <= 1; });
  }
  void ring(double cx, double cy, double rx, double ry, Color c, double thickness = 1) {
    paint(c, [&](Point p) {
      const double outer = sq((p.x - cx) / rx) + sq((p.y - cy) / ry);
      const double inner = sq((p.x - cx) / (rx - thickness)) + sq((p.y - cy) / (ry - thickness));
      return outer <= 1 && inner > 1;
    });
  }
  void polygon(const std::vector<Point>& points, Color c) {
    paint(c, [&](Point p) { return inside(points, p); });
  }
  void outline(const std::vector<Point>& points, Color c) {
    for (size_t i = 0; i < points.size(); ++i) {
      const Point a = points[i], b = points[(i + 1) % points.size()];
      line(a.x, a.y, b.x, b.y, c);
    }
  }
  // A filled arrow head at (x, y) pointing in the direction (dx, dy), size s.
  void head(double x, double y, double dx, double dy, double s, Color c) {
    const double n = std::hypot(dx, dy);
    dx /= n;
    dy /= n;
    polygon({{x + 0.5 + dx * s, y + 0.5 + dy * s},
             {x + 0.5 - dy * s, y + 0.5 + dx * s},
             {x + 0.5 + dy * s, y + 0.5 - dx * s}},
            c);
  }

 private:
  static double sq(double v) { return v * v; }
  double scale() const { return std::min(w_, h_) / 16.0; }
  Point toPixels(Point d) const { return {d.x * w_ / 16.0, d.y * h_ / 16.0}; }

  static double distance(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y, len = vx * vx + vy * vy;
    double t = len > 0 ? ((p.x - a.x) * vx + (p.y - a.y) * vy) / len : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * vx), p.y - (a.y + t * vy));
  }
  static bool inside(const std::vector<Point>& poly, Point p) {
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
      const Point a = poly[i], b = poly[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  }
  // Tests each pixel centre in design coordinates.
  template <class Test>
  void paint(Color c, Test test) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (test(Point{(x + 0.5) * 16.0 / w_, (y + 0.5) * 16.0 / h_})) pixels_[static_cast<size_t>(y * w_ + x)] = c;
  }
  // Tests each pixel centre in pixel coordinates.
  template <class Test>
  void paintPixels(Color c, Test test) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (test(Point{x + 0.5, y + 0.5})) pixels_[static_cast<size_t>(y * w_ + x)] = c;
  }

  int w_, h_;
  std::vector<Color> pixels_;
};

void page(Icon& i, double x0, double y0, double x1, double y1) {
  i.polygon({{x0, y0}, {x1 - 3, y0}, {x1, y0 + 3}, {x1, y1}, {x0, y1}}, Paper);
  i.outline({{x0, y0}, {x1 - 3, y0}, {x1 - 1, y0 + 2}, {x1 - 1, y1 - 1}, {x0, y1 - 1}}, Ink);
  i.line(x1 - 3, y0, x1 - 3, y0 + 2, Ink);
  i.line(x1 - 3, y0 + 2, x1 - 1, y0 + 2, Ink);
}

void magnifier(Icon& i, bool plus) {
  i.disc(6.5, 6.5, 5, 5, Sky);
  i.ring(6.5, 6.5, 5, 5, Ink, 1.2);
  i.line(10, 10, 14, 14, Brown, 2);
  i.line(4, 6, 8, 6, Ink);
  if (plus) i.line(6, 4, 6, 8, Ink);
}

void curvedArrow(Icon& i, bool right) {
  const auto x = [&](double v) { return right ? 15 - v : v; };
  i.line(x(4), 5, x(10), 5, Blue, 1.5);
  i.line(x(10), 5, x(13), 8, Blue, 1.5);
  i.line(x(13), 8, x(10), 12, Blue, 1.5);
  i.line(x(10), 12, x(6), 12, Blue, 1.5);
  i.head(x(3), 5, right ? 1 : -1, 0, 3, Blue);
}

void alignBars(Icon& i, int how) {  // 0 left, 1 centre, 2 right
  i.line(how == 0 ? 2 : how == 1 ? 7.5 : 13, 1, how == 0 ? 2 : how == 1 ? 7.5 : 13, 14, Red);
  const double widths[] = {10, 6, 8};
  for (int k = 0; k < 3; ++k) {
    const double w = widths[k], y = 2.0 + k * 4.2;
    const double x0 = how == 0 ? 3 : how == 1 ? 8 - w / 2 : 13 - w;
    i.box(x0, y, x0 + w, y + 3, Sky, Navy);
  }
}

void pageArrow(Icon& i, int dir, bool toEnd) {  // dir -1 back, +1 forward
  const double tip = dir > 0 ? 11 : 4;
  i.polygon({{dir > 0 ? 5.0 : 11.5, 3}, {dir > 0 ? 5.0 : 11.5, 13}, {tip + (dir > 0 ? 0.5 : 0.0), 8}}, Green);
  if (toEnd) i.fill(dir > 0 ? 11.5 : 2.5, 3, dir > 0 ? 13.5 : 4.5, 13, Green);
}

// The pictograms, in strip order. The index of each is what BARS.INI refers to.
const std::vector<std::pair<const char*, std::function<void(Icon&)>>>& pictograms() {
  static const std::vector<std::pair<const char*, std::function<void(Icon&)>>> all = {
      {"new", [](Icon& i) { page(i, 3, 1, 13, 15); }},
      {"open",
       [](Icon& i) {
         i.box(1, 4, 13, 14, Yellow);
         i.polygon({{1, 4}, {5, 4}, {6, 2}, {1, 2}}, Yellow);
         i.polygon({{3, 8}, {15.5, 8}, {13, 14}, {1, 14}}, Brown);
       }},
      {"save",
       [](Icon& i) {
         i.box(2, 2, 14, 14, Navy, Ink);
         i.fill(4, 2.5, 12, 7, Paper);
         i.fill(5, 10, 11, 14, Silver);
         i.fill(9, 10.5, 10, 13, Navy);
       }},
      {"print",
       [](Icon& i) {
         page(i, 4, 1, 12, 7);
         i.box(1, 6, 15, 12, Silver);
         i.fill(4, 10, 12, 15, Paper);
         i.frame(4, 10, 11, 14, Ink);
         i.fill(12, 7.5, 13.5, 8.5, Green);
       }},
      {"cut",
       [](Icon& i) {
         i.line(4, 1, 10, 10, Grey, 1.3);
         i.line(11, 1, 5, 10, Grey, 1.3);
         i.ring(4, 12.5, 2.5, 2.5, Red, 1.1);
         i.ring(12, 12.5, 2.5, 2.5, Red, 1.1);
       }},
      {"copy",
       [](Icon& i) {
         page(i, 1, 1, 10, 11);
         page(i, 6, 5, 15, 15);
       }},
      {"paste",
       [](Icon& i) {
         i.box(2, 2, 12, 15, Brown);
         i.box(5, 1, 9, 4, Silver);
         page(i, 7, 6, 15, 15);
       }},
      {"undo", [](Icon& i) { curvedArrow(i, false); }},
      {"redo", [](Icon& i) { curvedArrow(i, true); }},
      {"zoom_in", [](Icon& i) { magnifier(i, true); }},
      {"zoom_out", [](Icon& i) { magnifier(i, false); }},
      {"grid",
       [](Icon& i) {
         i.fill(1, 1, 15, 15, Paper);
         for (int k = 1; k <= 14; k += 13 / 3) {
           i.line(k, 1, k, 14, Grey);
           i.line(1, k, 14, k, Grey);
         }
       }},
      {"pointer",
       [](Icon& i) {
         i.polygon({{4, 1}, {4, 14}, {7, 11}, {9.5, 15.5}, {11.5, 14.5}, {9, 10}, {13, 10}}, Paper);
         i.outline({{4, 1}, {4, 13.5}, {7, 10.5}, {9, 14.5}, {10.5, 14}, {8.5, 9.5}, {12, 9.5}}, Ink);
       }},
      {"pen",
       [](Icon& i) {
         i.line(13, 2, 4, 11, Yellow, 3);
         i.line(14, 1, 12, 3, Red, 3);
         i.polygon({{2.5, 10.5}, {5.5, 13.5}, {1, 15}}, Ink);
       }},
      {"text",
       [](Icon& i) {
         i.line(2, 14, 7.5, 1, Ink, 1.5);
         i.line(7.5, 1, 13, 14, Ink, 1.5);
         i.line(4.5, 9, 10.5, 9, Ink, 1.5);
       }},
      {"line",
       [](Icon& i) {
         i.line(2, 13, 13, 2, Navy, 1.5);
         i.fill(1, 12, 4, 15, Red);
         i.fill(12, 1, 15, 4, Red);
       }},
      {"rectangle", [](Icon& i) { i.box(2, 3, 14, 13, Sky, Navy); }},
      {"ellipse",
       [](Icon& i) {
         i.disc(8, 8, 6.5, 5, Sky);
         i.ring(8, 8, 6.5, 5, Navy);
       }},
      {"connector",
       [](Icon& i) {
         i.box(1, 1, 6, 6, Sky, Navy);
         i.box(10, 10, 15, 15, Sky, Navy);
         i.line(3, 6, 3, 12, Ink);
         i.line(3, 12, 8, 12, Ink);
         i.head(8, 12, 1, 0, 2, Ink);
       }},
      {"align_left", [](Icon& i) { alignBars(i, 0); }},
      {"align_centre", [](Icon& i) { alignBars(i, 1); }},
      {"align_right", [](Icon& i) { alignBars(i, 2); }},
      {"to_front",
       [](Icon& i) {
         i.box(1, 1, 10, 10, Silver, Grey);
         i.box(6, 6, 15, 15, Blue, Navy);
       }},
      {"to_back",
       [](Icon& i) {
         i.box(6, 6, 15, 15, Silver, Grey);
         i.box(1, 1, 10, 10, Blue, Navy);
       }},
      {"group",
       [](Icon& i) {
         i.box(3, 3, 8, 8, Sky, Navy);
         i.disc(10.5, 10.5, 3, 3, Yellow);
         for (double k = 0; k < 15; k += 3) {
           i.fill(k, 0, k + 1.5, 1, Ink);
           i.fill(k, 15, k + 1.5, 16, Ink);
           i.fill(0, k, 1, k + 1.5, Ink);
           i.fill(15, k, 16, k + 1.5, Ink);
         }
       }},
      {"ungroup",
       [](Icon& i) {
         i.box(1, 1, 7, 7, Sky, Navy);
         i.disc(11.5, 11.5, 3.5, 3.5, Yellow);
         i.line(9, 2, 14, 7, Red);
         i.line(2, 9, 7, 14, Red);
       }},
      {"delete",
       [](Icon& i) {
         i.line(2, 2, 13, 13, Red, 2.5);
         i.line(13, 2, 2, 13, Red, 2.5);
       }},
      {"properties",
       [](Icon& i) {
         i.box(2, 1, 14, 15, Paper);
         for (double y = 4; y < 13; y += 3) {
           i.fill(4, y, 6, y + 1, Blue);
           i.fill(7, y, 12, y + 1, Ink);
         }
       }},
      {"first_page", [](Icon& i) { pageArrow(i, -1, true); }},
      {"previous_page", [](Icon& i) { pageArrow(i, -1, false); }},
      {"next_page", [](Icon& i) { pageArrow(i, +1, false); }},
      {"last_page", [](Icon& i) { pageArrow(i, +1, true); }},
      {"fit_page",
       [](Icon& i) {
         page(i, 4, 3, 12, 13);
         i.head(1, 7.5, -1, 0, 1.5, Blue);
         i.head(14, 7.5, 1, 0, 1.5, Blue);
         i.head(7.5, 0.5, 0, -1, 1.5, Blue);
         i.head(7.5, 14.5, 0, 1, 1.5, Blue);
       }},
      {"rotate",
       [](Icon& i) {
         i.ring(8, 8, 6, 6, Green, 1.5);
         i.fill(8, 0, 16, 8, Key);
         i.head(13, 7, 0, 1, 3, Green);
       }},
      {"fill_colour",
       [](Icon& i) {
         i.polygon({{2, 7}, {8, 1}, {14, 7}, {8, 13}}, Silver);
         i.outline({{2, 7}, {8, 1}, {14, 7}, {8, 13}}, Ink);
         i.disc(13.5, 12.5, 1.8, 2.8, Blue);
       }},
      {"library",
       [](Icon& i) {
         i.box(1, 2, 6, 15, Red);
         i.box(6, 1, 10, 15, Green);
         i.polygon({{10, 3}, {13, 2}, {16, 14}, {13, 15}}, Blue);
         i.fill(2, 5, 5, 6, Yellow);
         i.fill(7, 4, 9, 5, Yellow);
       }},
      {"symbol_palette",
       [](Icon& i) {
         i.box(1, 1, 15, 15, Silver);
         i.disc(5, 5, 2.5, 2.5, Red);
         i.fill(9, 3, 14, 8, Blue);
         i.polygon({{5, 9}, {8, 14.5}, {2, 14.5}}, Green);
         i.polygon({{11.5, 9}, {14.5, 11.75}, {11.5, 14.5}, {8.5, 11.75}}, Yellow);
       }},
  };
  return all;
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// A strip of every pictogram, left to right, as a bottom-up 24-bit BMP.
std::vector<uint8_t> strip(int width, int height) {
  std::vector<Icon> icons;
  for (const auto& [name, draw] : pictograms()) {
    icons.emplace_back(width, height);
    draw(icons.back());
  }
  const uint32_t w = static_cast<uint32_t>(width * static_cast<int>(icons.size()));
  const uint32_t stride = (w * 3 + 3) / 4 * 4, size = stride * static_cast<uint32_t>(height);
  std::vector<uint8_t> b;
  b.push_back('B');
  b.push_back('M');
  put32(b, 54 + size);
  put32(b, 0);
  put32(b, 54);
  put32(b, 40);
  put32(b, w);
  put32(b, static_cast<uint32_t>(height));
  put16(b, 1);
  put16(b, 24);
  put32(b, 0);  // BI_RGB
  put32(b, size);
  put32(b, 3780);  // 96 dpi
  put32(b, 3780);
  put32(b, 0);
  put32(b, 0);
  for (int y = height - 1; y >= 0; --y) {
    const size_t start = b.size();
    for (const auto& icon : icons)
      for (int x = 0; x < width; ++x) {
        const Color c = icon.at(x, y);
        b.insert(b.end(), {c.b, c.g, c.r});
      }
    b.resize(start + stride, 0);
  }
  return b;
}

bool write(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::cerr << "usage: icon_strips OUTDIR   writes OUTDIR/icons16.bmp and OUTDIR/icons24.bmp\n";
    return 2;
  }
  if (std::string(argv[1]) == "--list") {
    int n = 0;
    for (const auto& p : pictograms()) std::cout << n++ << " " << p.first << "\n";
    return 0;
  }
  const std::string dir = argv[1];
  for (auto [file, w, h] : {std::tuple{"icons16.bmp", 16, 15}, std::tuple{"icons24.bmp", 24, 24}}) {
    if (!write(dir + "/" + file, strip(w, h))) {
      std::cerr << "icon_strips: cannot write " << dir << "/" << file << "\n";
      return 1;
    }
  }
  return 0;
}
