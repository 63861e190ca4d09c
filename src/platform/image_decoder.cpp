#include "platform/image_decoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <limits>

#ifndef _WIN32
#include <cstdio>

#include <jpeglib.h>
#include <png.h>
#endif

namespace {

void* zeroedAlloc(size_t size) { return std::calloc(1, size); }

void* zeroedRealloc(void* old, size_t oldSize, size_t newSize) {
  void* grown = std::calloc(1, newSize);
  if (grown == nullptr) return nullptr;
  if (old != nullptr) {
    std::memcpy(grown, old, oldSize < newSize ? oldSize : newSize);
    std::free(old);
  }
  return grown;
}

}  // namespace

// stb_image decodes what the system's hardened libraries do not cover: BMP and GIF here,
// and every format in the Windows build, which has no system libpng or libjpeg to link.
// It reads tables and palettes that a damaged file never filled (JPEG Huffman tables a
// scan names but no segment defines, for one); zeroed memory keeps that from showing old
// memory. Everything stays private to this file, so the system's copy of the library,
// which the toolbar's fonts still use, cannot clash.
#define STBI_MALLOC(size) zeroedAlloc(size)
#define STBI_REALLOC_SIZED(p, oldSize, newSize) zeroedRealloc(p, oldSize, newSize)
#define STBI_FREE(p) std::free(p)
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#ifdef _WIN32
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#endif
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace zadeve::platform::decoder {
namespace {

int lengthOf(std::span<const uint8_t> bytes) {
  return bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ? std::numeric_limits<int>::max()
                                                                             : static_cast<int>(bytes.size());
}

std::string reason() {
  const char* why = stbi_failure_reason();
  return why ? why : "";
}

bool stbInfo(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
  int channels = 0;
  if (stbi_info_from_memory(bytes.data(), lengthOf(bytes), &width, &height, &channels)) return true;
  why = reason();
  return false;
}

std::vector<uint8_t> stbDecode(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
  int channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(bytes.data(), lengthOf(bytes), &width, &height, &channels, 4);
  if (pixels == nullptr) {
    why = reason();
    return {};
  }
  const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  std::vector<uint8_t> rgba(pixels, pixels + size);
  stbi_image_free(pixels);
  return rgba;
}

#ifndef _WIN32

bool isPng(std::span<const uint8_t> b) { return b.size() >= 8 && png_sig_cmp(b.data(), 0, 8) == 0; }
bool isJpeg(std::span<const uint8_t> b) { return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }

// PNG through libpng's simplified interface: any colour type and depth comes out as 8-bit
// RGBA, straight into our buffer.
class PngReader {
 public:
  explicit PngReader(std::span<const uint8_t> bytes) {
    image_.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image_, bytes.data(), bytes.size());
  }
  ~PngReader() { png_image_free(&image_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool failed() const { return PNG_IMAGE_FAILED(image_) != 0; }
  std::string why() const { return image_.message; }
  int width() const { return static_cast<int>(image_.width); }
  int height() const { return static_cast<int>(image_.height); }

  std::vector<uint8_t> rgba() {
    if (failed() || image_.width > INT32_MAX / 4 || image_.height > INT32_MAX) return {};
    image_.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> out(PNG_IMAGE_SIZE(image_));
    if (!png_image_finish_read(&image_, nullptr, out.data(), 0, nullptr) || PNG_IMAGE_FAILED(image_)) return {};
    return out;
  }

 private:
  png_image image_{};
};

// JPEG through libjpeg: its errors and its warnings about damaged data (which it would
// paper over with grey) end the decode by a jump back here, never by exit().
struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf back;
  char text[JMSG_LENGTH_MAX];
};

// A progressive file may hold thousands of scans, each a pass over the whole picture.
constexpr long MaxJpegScans = 100;

void jpegFail(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, error->text);
  std::longjmp(error->back, 1);
}

void jpegMessage(j_common_ptr info, int level) {
  if (level < 0) jpegFail(info);  // a warning: the data is damaged
}

void jpegProgress(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > MaxJpegScans) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::snprintf(error->text, sizeof error->text, "more than %ld scans", MaxJpegScans);
    std::longjmp(error->back, 1);
  }
}

// Reads the header, and the pixels when `rgba` is given. No object with a destructor lives
// between the setjmp and the calls that may jump back to it.
bool jpegRead(std::span<const uint8_t> bytes, int& width, int& height, std::vector<uint8_t>* rgba,
              std::string& why) {
  jpeg_decompress_struct info{};
  JpegError error{};
  jpeg_progress_mgr progress{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = jpegFail;
  error.manager.emit_message = jpegMessage;
  if (setjmp(error.back)) {
    jpeg_destroy_decompress(&info);
    why = error.text;
    return false;
  }
  jpeg_create_decompress(&info);
  progress.progress_monitor = jpegProgress;
  info.progress = &progress;
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  width = static_cast<int>(info.image_width);
  height = static_cast<int>(info.image_height);
  bool ok = true;
  if (rgba != nullptr) {
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
      std::snprintf(error.text, sizeof error.text, "CMYK colours");
      std::longjmp(error.back, 1);
    }
    info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&info);
    // The caller sized `rgba` from the header; the decoder's own idea must agree.
    const size_t stride = static_cast<size_t>(width) * 4;
    ok = info.output_width == info.image_width && info.output_height == info.image_height &&
         info.output_components == 4 && rgba->size() == stride * static_cast<size_t>(height);
    while (ok && info.output_scanline < info.output_height) {
      JSAMPROW row = rgba->data() + stride * info.output_scanline;
      jpeg_read_scanlines(&info, &row, 1);
    }
    if (ok) jpeg_finish_decompress(&info);
    else std::snprintf(error.text, sizeof error.text, "size changed while decoding");
  }
  jpeg_destroy_decompress(&info);
  if (!ok) why = error.text;
  return ok;
}

#endif  // !_WIN32

}  // namespace

bool info(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
#ifndef _WIN32
  if (isPng(bytes)) {
    PngReader png(bytes);
    if (png.failed()) return why = png.why(), false;
    width = png.width();
    height = png.height();
    return true;
  }
  if (isJpeg(bytes)) return jpegRead(bytes, width, height, nullptr, why);
#endif
  return stbInfo(bytes, width, height, why);
}

std::vector<uint8_t> decodeRgba(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
#ifndef _WIN32
  if (isPng(bytes)) {
    PngReader png(bytes);
    width = png.width();
    height = png.height();
    std::vector<uint8_t> rgba = png.rgba();
    if (rgba.empty()) why = png.why().empty() ? "damaged PNG" : png.why();
    return rgba;
  }
  if (isJpeg(bytes)) {
    if (!jpegRead(bytes, width, height, nullptr, why)) return {};
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    int w = 0, h = 0;
    if (!jpegRead(bytes, w, h, &rgba, why)) return {};
    return rgba;
  }
#endif
  return stbDecode(bytes, width, height, why);
}

}  // namespace zadeve::platform::decoder
