#include "vizevore/font.h"

#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace zadeve::vizevore {

struct Font::Impl {
  std::vector<unsigned char> data;  // stb_truetype reads from it for the font's lifetime
  stbtt_fontinfo info{};
  int ascent = 0, descent = 0, lineGap = 0;

  float scale(int pixelHeight) const {
    return stbtt_ScaleForPixelHeight(&info, static_cast<float>(pixelHeight));
  }
  static std::unique_ptr<Impl> load(const std::string& path);
};

std::unique_ptr<Font::Impl> Font::Impl::load(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return nullptr;
  std::ifstream in(path, std::ios::binary);
  auto impl = std::make_unique<Font::Impl>();
  impl->data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  // stb_truetype trusts the tables it is given; only hand it files that look like fonts.
  if (impl->data.size() < 12) return nullptr;
  const int offset = stbtt_GetFontOffsetForIndex(impl->data.data(), 0);
  if (offset < 0 || !stbtt_InitFont(&impl->info, impl->data.data(), offset)) return nullptr;
  stbtt_GetFontVMetrics(&impl->info, &impl->ascent, &impl->descent, &impl->lineGap);
  if (impl->ascent - impl->descent <= 0) return nullptr;
  return impl;
}

namespace {

std::string findCaptionFont() {
  if (const char* env = std::getenv("ZADEVE_FONT"); env && *env) return env;
  static const char* const candidates[] = {
      "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
      "/usr/share/fonts/dejavu/DejaVuSans.ttf",
      "/usr/share/fonts/TTF/DejaVuSans.ttf",
      "/usr/local/share/fonts/DejaVuSans.ttf",
  };
  std::error_code ec;
  for (const char* c : candidates)
    if (std::filesystem::is_regular_file(c, ec)) return c;
  return {};
}

}  // namespace

char32_t codepointOf(unsigned char ch) {
  static const char16_t high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (ch >= 0x80 && ch < 0xA0) return high[ch - 0x80];
  return ch;
}

Font& Font::caption() {
  static Font font(findCaptionFont());
  return font;
}

Font::Font(const std::string& path) : path_(path), impl_(Impl::load(path)) {}
Font::~Font() = default;

LineMetrics Font::metrics(int pixelHeight) const {
  if (!impl_) return {pixelHeight - pixelHeight / 5, pixelHeight};
  const float s = impl_->scale(pixelHeight);
  return {static_cast<int>(std::lround(impl_->ascent * s)), pixelHeight};
}

GlyphBitmap Font::renderBox(int pixelHeight, unsigned char ch) const {
  GlyphBitmap g;
  g.advance = std::max(3, pixelHeight / 2);
  if (ch == ' ') return g;
  const LineMetrics m = metrics(pixelHeight);
  g.left = 1;
  g.width = g.advance - 2;
  g.height = std::max(2, m.ascent * 3 / 4);
  g.top = -g.height;
  g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1)
        g.coverage[static_cast<size_t>(y) * g.width + x] = 255;
  return g;
}

const GlyphBitmap& Font::glyph(unsigned char ch, int pixelHeight) const {
  const auto key = std::make_pair(pixelHeight, ch);
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  if (!impl_ || pixelHeight <= 0 || pixelHeight > 512)
    return cache_.emplace(key, renderBox(std::clamp(pixelHeight, 1, 512), ch)).first->second;

  const auto cp = static_cast<int>(codepointOf(ch));
  const float s = impl_->scale(pixelHeight);
  GlyphBitmap g;
  int advance = 0, bearing = 0;
  stbtt_GetCodepointHMetrics(&impl_->info, cp, &advance, &bearing);
  g.advance = static_cast<int>(std::lround(advance * s));
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBitmapBox(&impl_->info, cp, s, s, &x0, &y0, &x1, &y1);
  g.left = x0;
  g.top = y0;
  g.width = std::max(0, x1 - x0);
  g.height = std::max(0, y1 - y0);
  g.coverage.assign(static_cast<size_t>(g.width) * g.height, 0);
  if (g.width > 0 && g.height > 0)
    stbtt_MakeCodepointBitmap(&impl_->info, g.coverage.data(), g.width, g.height, g.width, s,
                              s, cp);
  return cache_.emplace(key, std::move(g)).first->second;
}

int Font::kerning(unsigned char a, unsigned char b, int pixelHeight) const {
  if (!impl_) return 0;
  const int k = stbtt_GetCodepointKernAdvance(&impl_->info, static_cast<int>(codepointOf(a)),
                                              static_cast<int>(codepointOf(b)));
  return static_cast<int>(std::lround(k * impl_->scale(pixelHeight)));
}

int Font::measure(std::string_view text, int pixelHeight) const {
  // Keyed by height and text; bounded, since status texts may change without end.
  constexpr size_t MaxRememberedWidths = 4096;
  std::string key = std::to_string(pixelHeight) + '\x01' + std::string(text);
  if (auto known = widths_.find(key); known != widths_.end()) return known->second;
  if (widths_.size() >= MaxRememberedWidths) widths_.clear();
  int width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto ch = static_cast<unsigned char>(text[i]);
    width += glyph(ch, pixelHeight).advance;
    if (i + 1 < text.size())
      width += kerning(ch, static_cast<unsigned char>(text[i + 1]), pixelHeight);
  }
  widths_.emplace(std::move(key), width);
  return width;
}

}  // namespace zadeve::vizevore
