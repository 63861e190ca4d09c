#include "platform/picture.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <map>
#include <memory>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/decoder_checks.h"
#include "platform/full_palette.h"
#include "platform/image_decoder.h"
#include "platform/profile_file_system.h"

namespace zadeve::platform {

using automation::CallArgs;
using automation::InvokeKind;
using automation::MemberTable;
using automation::Ref;
using automation::Variant;
using automation::VarType;
namespace err = automation::err;

namespace {

constexpr std::int64_t MaxFileBytes = 64 << 20;

// Pixels alive in pictures, counted by each picture's pixel buffer.
std::atomic<int64_t> livePixels{0};

struct CountedPixels {
  int64_t pixels;
  void operator()(const std::vector<uint8_t>* rgba) const noexcept {
    livePixels -= pixels;
    delete rgba;
  }
};

// The formats a picture file may have, the only ones the decoder is built with. Each has a
// signature, so random bytes cannot pass for a picture.
bool knownSignature(std::span<const uint8_t> b) {
  auto starts = [&](std::string_view sig) {
    return b.size() >= sig.size() && std::equal(sig.begin(), sig.end(), b.begin(),
                                                [](char c, uint8_t u) { return uint8_t(c) == u; });
  };
  return starts("BM") || starts("\x89PNG\r\n\x1a\n") || starts("GIF87a") || starts("GIF89a") ||
         starts("\xFF\xD8\xFF");
}

}  // namespace

Picture::Picture(int width, int height, Pixels rgba) : width_(width), height_(height), rgba_(std::move(rgba)) {}

int64_t decodedPixels() noexcept { return livePixels; }

Ref<Picture> Picture::fromPixels(int width, int height, std::vector<uint8_t> rgba) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > MaxPicturePixels)
    automation::raise(err::InvalidCall, "Picture size " + std::to_string(width) + "x" +
                                            std::to_string(height) + " is not allowed");
  if (rgba.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
    automation::raise(err::InvalidCall, "Picture pixel data does not match its size");
  const int64_t pixels = int64_t{width} * height;
  auto owned = std::make_unique<const std::vector<uint8_t>>(std::move(rgba));
  Pixels counted(owned.get(), CountedPixels{pixels});
  owned.release();
  livePixels += pixels;
  return Ref<Picture>(new Picture(width, height, std::move(counted)));
}

Rgba Picture::pixel(int x, int y) const {
  assert(x >= 0 && x < width_ && y >= 0 && y < height_);
  const uint8_t* p = rgba_->data() + (static_cast<size_t>(y) * width_ + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

namespace {
void reserveDecodedPixels(int64_t pixels, std::string_view name);
}  // namespace

Ref<Picture> decodePicture(std::span<const uint8_t> bytes, std::string_view name) {
  if (bytes.empty()) invalidPicture(name, "empty file");
  if (bytes.size() > static_cast<size_t>(MaxFileBytes)) invalidPicture(name, "file too large");
  if (!knownSignature(bytes)) invalidPicture(name, "not a BMP, PNG, GIF or JPEG file");
  checkBmpHeader(bytes, name, MaxPicturePixels);
  checkPngChunks(bytes, name);
  checkJpegTables(bytes, name);
  auto rewritten = bmpWithFullPalette(bytes);
  // Refuses a bad palette transparency either way; libpng fills a short palette with black
  // itself, the Windows build gets it made whole so both show the same.
  auto wholePng = pngWithFullPalette(bytes, name);
#ifdef _WIN32
  if (!rewritten) rewritten = std::move(wholePng);
#endif
  if (rewritten) bytes = *rewritten;
  int w = 0, h = 0;
  std::string why;
  if (!decoder::info(bytes, w, h, why)) invalidPicture(name, why.empty() ? "unknown format" : why);
  // A top-down BMP reports a negative height here (and a positive one once decoded).
  const int64_t area = std::abs(int64_t{w}) * std::abs(int64_t{h});
  if (area == 0) invalidPicture(name, "empty image");
  if (area > MaxPicturePixels) invalidPicture(name, "image too large");
  reserveDecodedPixels(area, name);
  std::vector<uint8_t> rgba = decoder::decodeRgba(bytes, w, h, why);
  if (rgba.empty()) invalidPicture(name, why);
  return Picture::fromPixels(w, h, std::move(rgba));
}

namespace {

// Bars of one view load the same icon strips again and again; decoding is what costs.
// A decoded strip is reused while its file is the same file, of the same size and time,
// and has been left alone for a while: a file written within the last two seconds may
// still change within one timestamp tick, so it is decoded afresh every time.
class DecodedPictures {
 public:
  Ref<Picture> find(const std::string& path) {
#ifndef _WIN32
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return nullptr;
    auto it = entries_.find(path);
    if (it == entries_.end() || !(it->second.identity == identityOf(st))) return nullptr;
    return it->second.picture->copy();
#else
    (void)path;
    return nullptr;
#endif
  }

  void keep(const std::string& path, const Ref<Picture>& picture) {
#ifndef _WIN32
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return;
    const auto age = std::chrono::system_clock::now().time_since_epoch() - std::chrono::seconds(st.st_mtim.tv_sec);
    if (age < std::chrono::seconds(2)) return;
    if (entries_.size() >= MaxEntries) entries_.clear();
    entries_[path] = {identityOf(st), picture->copy()};
#else
    (void)path, (void)picture;
#endif
  }

  // Lets go of every kept picture; those nobody else holds free their pixels.
  void clear() {
#ifndef _WIN32
    entries_.clear();
#endif
  }

 private:
  static constexpr size_t MaxEntries = 64;
#ifndef _WIN32
  struct Identity {
    dev_t device;
    ino_t inode;
    off_t size;
    int64_t seconds, nanoseconds;
    bool operator==(const Identity&) const = default;
  };
  static Identity identityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino, st.st_size, int64_t{st.st_mtim.tv_sec}, int64_t{st.st_mtim.tv_nsec}};
  }
  struct Entry {
    Identity identity;
    Ref<Picture> picture;
  };
  std::map<std::string, Entry> entries_;
#endif
};

DecodedPictures& decodedPictures() {
  static DecodedPictures cache;
  return cache;
}

// Room for one more picture within the budget, made by letting go of kept pictures first
// when needed; a picture that still does not fit is not decoded at all.
void reserveDecodedPixels(int64_t pixels, std::string_view name) {
  if (livePixels + pixels > MaxDecodedPixels) decodedPictures().clear();
  if (livePixels + pixels > MaxDecodedPixels)
    invalidPicture(name, "the pictures loaded already take the " + std::to_string(MaxDecodedPixels) +
                             " pixels allowed for all pictures");
}

}  // namespace

Ref<Picture> loadPicture(const std::string& path) {
  if (auto known = decodedPictures().find(path)) return known;
  auto picture = readPicture(path);
  decodedPictures().keep(path, picture);
  return picture;
}

Ref<Picture> readPicture(const std::string& path) {
  // Only a regular file is opened, and the open never waits (a FIFO would).
  FileStat stat;
  std::string bytes;
  const int error = path.empty() ? ENOENT : readRegularFile(systemFileSystem(), path, stat, bytes, MaxFileBytes);
  if (error == EFBIG) invalidPicture(path, "file too large");
  if (error != 0) automation::raise(err::FileNotFound, "File not found: " + path);
  return decodePicture(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), path);
}

const MemberTable<Picture>& Picture::memberTable() {
  using V = VarType;
  // Slots follow the runtime's picture interface; Handle and hPal mean nothing here.
  static const MemberTable<Picture> table(
      "Picture",
      {
          {{"Type", 3, InvokeKind::PropertyGet, {}, V::Integer},
           [](Picture&, CallArgs&) { return Variant(TypeBitmap); }},
          {{"Width", 4, InvokeKind::PropertyGet, {}, V::Long},
           [](Picture& p, CallArgs&) { return Variant(int32_t{p.width()}); }},
          {{"Height", 5, InvokeKind::PropertyGet, {}, V::Long},
           [](Picture& p, CallArgs&) { return Variant(int32_t{p.height()}); }},
      });
  return table;
}

}  // namespace zadeve::platform
