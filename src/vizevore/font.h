#pragma once
// The font the control draws its captions with: a TrueType file rendered by stb_truetype,
// with rendered glyphs cached per pixel size. When no font file can be found the font
// still works, drawing every character as a hollow box, so a bar stays usable and its
// layout stays the same shape; `isReal` tells the two apart.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zadeve::vizevore {

// One rendered character: an 8-bit coverage bitmap placed relative to the pen position
// on the baseline.
struct GlyphBitmap {
  int left = 0;  // from the pen to the bitmap's first column
  int top = 0;   // from the baseline to the bitmap's first row (negative: above)
  int width = 0;
  int height = 0;
  int advance = 0;  // pen movement in pixels, rounded
  std::vector<uint8_t> coverage;
};

struct LineMetrics {
  int ascent = 0;  // baseline below the top of the line
  int height = 0;  // whole line
};

class Font {
 public:
  // The shared caption font, loaded on first use: $ZADEVE_FONT when set, else the first
  // of the usual DejaVu Sans locations that exists.
  static Font& caption();

  // A font from one file; a file that is missing or not a font gives the box font.
  explicit Font(const std::string& path);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  bool isReal() const { return impl_ != nullptr; }
  const std::string& path() const { return path_; }

  LineMetrics metrics(int pixelHeight) const;
  // The glyph of a single-byte character (the system's texts are Windows-1252).
  const GlyphBitmap& glyph(unsigned char ch, int pixelHeight) const;
  // Extra advance between two characters (kerning), usually 0 or negative.
  int kerning(unsigned char a, unsigned char b, int pixelHeight) const;
  int measure(std::string_view text, int pixelHeight) const;

 private:
  struct Impl;
  std::string path_;
  std::unique_ptr<Impl> impl_;
  mutable std::map<std::pair<int, unsigned char>, GlyphBitmap> cache_;
  // Layout measures the same captions on every pass; kerning lookups make that costly.
  mutable std::unordered_map<std::string, int> widths_;

  GlyphBitmap renderBox(int pixelHeight, unsigned char ch) const;
};

// Windows-1252 to Unicode for the bytes that differ from Latin-1.
char32_t codepointOf(unsigned char ch);

}  // namespace zadeve::vizevore
