#pragma once
// Pictures: decoded bitmaps as automation objects. A picture is immutable once made; it
// holds its pixels as 8-bit RGBA, rows top to bottom, no padding. Pictures loaded from the
// same unchanged file share their pixels, each still an object of its own.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/member_table.h"

namespace zadeve::platform {

// The budget for decoded pictures, in pixels (4 bytes each): for one picture, and for all
// pictures alive in the process at once (icon sets held by toolbars, pictures kept for
// reuse, the host's own). Icon strips are far smaller; a file near these sizes is damaged
// or hostile, and a load past either fails with 481 before anything is decoded.
inline constexpr int64_t MaxPicturePixels = int64_t{1} << 22;  // 16 MiB of pixels
inline constexpr int64_t MaxDecodedPixels = int64_t{1} << 24;  // 64 MiB of pixels

// The pixels of every picture alive now.
int64_t decodedPixels() noexcept;

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

class Picture : public automation::Dispatchable<Picture> {
 public:
  // The runtime's picture type number for a bitmap.
  static constexpr int16_t TypeBitmap = 1;

  // A picture the host draws itself. rgba holds width * height * 4 bytes; sizes must be
  // positive and within MaxPicturePixels. Raises 5 otherwise.
  static automation::Ref<Picture> fromPixels(int width, int height, std::vector<uint8_t> rgba);

  int width() const { return width_; }
  int height() const { return height_; }
  std::span<const uint8_t> rgba() const { return *rgba_; }
  // The pixel at (x, y); no range check beyond the debug assertion.
  Rgba pixel(int x, int y) const;

  static const automation::MemberTable<Picture>& memberTable();

  using Pixels = std::shared_ptr<const std::vector<uint8_t>>;
  // Another picture with the same pixels.
  automation::Ref<Picture> copy() const { return automation::Ref<Picture>(new Picture(width_, height_, rgba_)); }

 private:
  Picture(int width, int height, Pixels rgba);

  int width_;
  int height_;
  Pixels rgba_;
};

// Loads and decodes a picture file: BMP (uncompressed, 1 to 32 bits), PNG, GIF or JPEG.
// Raises 53 when the file does not exist or cannot be opened (a FIFO, a device or a folder
// is refused at once) and 481 when it is not a picture the decoder accepts or would take
// the pixel budget past its limit; both descriptions name the path.
automation::Ref<Picture> loadPicture(const std::string& path);
// The same, always reading and decoding the file.
automation::Ref<Picture> readPicture(const std::string& path);

// Decodes a picture held in memory; `name` only goes into the 481 description.
automation::Ref<Picture> decodePicture(std::span<const uint8_t> bytes, std::string_view name);

}  // namespace zadeve::platform
