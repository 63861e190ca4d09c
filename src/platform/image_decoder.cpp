#include "platform/image_decoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#include <wincodec.h>
#else
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

// stb_image decodes what the system's own decoders do not cover: BMP and GIF. It may read
// a palette or table that a damaged file never filled; zeroed memory keeps that from
// showing old memory. Everything stays private to this file, so the system's copy of the library,
// which the toolbar's fonts still use, cannot clash.
#define STBI_MALLOC(size) zeroedAlloc(size)
#define STBI_REALLOC_SIZED(p, oldSize, newSize) zeroedRealloc(p, oldSize, newSize)
#define STBI_FREE(p) std::free(p)
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
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

bool isPng(std::span<const uint8_t> b) {
  static constexpr uint8_t Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return b.size() >= 8 && std::memcmp(b.data(), Signature, 8) == 0;
}
bool isJpeg(std::span<const uint8_t> b) { return b.size() >= 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }

#ifndef _WIN32

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

#ifdef _WIN32

// PNG and JPEG through the Windows Imaging Component, the system's own decoders, kept up
// to date with the system. Everything comes from the factory's objects (its memory stream,
// its format converter), so the DLL imports nothing new; COM is the host's, initialised
// on its thread before any call reaches us.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() { return &p_; }

 private:
  T* p_ = nullptr;
};

std::string failure(const char* step, HRESULT hr) {
  char text[64];
  std::snprintf(text, sizeof text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(hr));
  return text;
}

// Reads the size, and the pixels into `rgba` when it is given (sized by the caller from a
// first read of the same bytes).
bool wicRead(std::span<const uint8_t> bytes, int& width, int& height, std::vector<uint8_t>* rgba,
             std::string& why) {
  if (bytes.size() > std::numeric_limits<DWORD>::max()) return why = "file too large", false;
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()));
  if (FAILED(hr)) return why = failure("starting the imaging component", hr), false;
  // The stream only reads the bytes; it never writes through the pointer.
  if (FAILED(hr = factory->CreateStream(stream.out())) ||
      FAILED(hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
    return why = failure("reading from memory", hr), false;
  if (FAILED(hr = factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                   decoder.out())) ||
      FAILED(hr = decoder->GetFrame(0, frame.out())))
    return why = failure("decoding", hr), false;
  UINT w = 0, h = 0;
  if (FAILED(hr = frame->GetSize(&w, &h))) return why = failure("reading the size", hr), false;
  if (w > INT32_MAX / 4 || h > INT32_MAX) return why = "image too large", false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  if (rgba == nullptr) return true;
  const size_t stride = size_t{w} * 4;
  if (rgba->size() != stride * h || rgba->size() > std::numeric_limits<UINT>::max())
    return why = "size changed while decoding", false;
  // Straight (not premultiplied) alpha, as the other decoders give it.
  ComRef<IWICFormatConverter> converter;
  if (FAILED(hr = factory->CreateFormatConverter(converter.out())) ||
      FAILED(hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                        0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(hr = converter->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(rgba->size()),
                                        rgba->data())))
    return why = failure("converting the pixels", hr), false;
  for (size_t i = 0; i < rgba->size(); i += 4) std::swap((*rgba)[i], (*rgba)[i + 2]);
  return true;
}

#endif  // _WIN32

using Reader = bool (*)(std::span<const uint8_t>, int&, int&, std::vector<uint8_t>*, std::string&);

// Reads the header, then the pixels into a buffer of the size the header gave.
std::vector<uint8_t> readSizedFromHeader(Reader read, std::span<const uint8_t> bytes, int& width, int& height,
                                         std::string& why) {
  if (!read(bytes, width, height, nullptr, why)) return {};
  std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  int w = 0, h = 0;
  if (!read(bytes, w, h, &rgba, why)) return {};
  return rgba;
}

}  // namespace

bool info(std::span<const uint8_t> bytes, int& width, int& height, std::string& why) {
#ifdef _WIN32
  if (isPng(bytes) || isJpeg(bytes)) return wicRead(bytes, width, height, nullptr, why);
#else
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
#ifdef _WIN32
  if (isPng(bytes) || isJpeg(bytes)) return readSizedFromHeader(wicRead, bytes, width, height, why);
#else
  if (isPng(bytes)) {
    PngReader png(bytes);
    width = png.width();
    height = png.height();
    std::vector<uint8_t> rgba = png.rgba();
    if (rgba.empty()) why = png.why().empty() ? "damaged PNG" : png.why();
    return rgba;
  }
  if (isJpeg(bytes)) return readSizedFromHeader(jpegRead, bytes, width, height, why);
#endif
  return stbDecode(bytes, width, height, why);
}

}  // namespace zadeve::platform::decoder
