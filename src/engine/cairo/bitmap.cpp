#include "engine/cairo/bitmap.h"

#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "base/files/bounded_file.h"
#include "engine/cairo/bitmap_surface.h"
#include "engine/cairo/handles.h"

namespace kelpo::ui {

struct Bitmap::Pixels {
  SurfaceHandle surface;
  std::mutex drawing;  // see BitmapAccess::lockForDrawing
};

namespace {

// A picture file larger than this is not one the widget ships; the largest
// allowed picture, well compressed, is far smaller.
constexpr std::size_t largestPictureFileBytes = std::size_t{32} * 1024 * 1024;

// Which version of a file was decoded: a file replaced on disk (a new inode)
// or rewritten in place (a new size or modification time) is decoded anew.
struct FileVersion {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNanoseconds = 0;
  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The version of the regular file at `path`; nothing for anything else.
[[nodiscard]] std::optional<FileVersion> regularFileVersion(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return FileVersion{
      status.st_dev, status.st_ino, status.st_size,
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

// The width and height a PNG declares in its header (the signature, then
// the IHDR chunk, which must come first), read before anything is decoded.
[[nodiscard]] std::optional<std::array<std::uint32_t, 2>> declaredSize(std::string_view png) {
  constexpr std::string_view signature("\x89PNG\r\n\x1A\n", 8);
  constexpr std::string_view header("\0\0\0\x0DIHDR", 8);
  constexpr std::size_t sizeAt = signature.size() + header.size();
  if (png.size() < sizeAt + 8 || !png.starts_with(signature) ||
      png.substr(signature.size(), header.size()) != header) {
    return std::nullopt;
  }
  const auto bigEndian = [&](std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = (value << 8) | static_cast<unsigned char>(png[at + i]);
    return value;
  };
  return std::array{bigEndian(sizeAt), bigEndian(sizeAt + 4)};
}

struct PngReader {
  std::string_view rest;
};

cairo_status_t readFromMemory(void* closure, unsigned char* data, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (reader->rest.size() < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader->rest.data(), length);
  reader->rest.remove_prefix(length);
  return CAIRO_STATUS_SUCCESS;
}

// The decoded pixels of PNG bytes, or null for a corrupt, empty or
// oversized picture.
[[nodiscard]] SurfaceHandle decodePng(std::string_view png) {
  const auto size = declaredSize(png);
  if (!size) return nullptr;
  const auto [width, height] = *size;
  if (width == 0 || height == 0 || width > largestBitmapSide || height > largestBitmapSide) {
    return nullptr;
  }
  PngReader reader{png};
  SurfaceHandle surface(cairo_image_surface_create_from_png_stream(readFromMemory, &reader));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_image_surface_get_width(surface.get()) <= 0 ||
      cairo_image_surface_get_height(surface.get()) <= 0) {
    return nullptr;
  }
  return surface;
}

// The pictures decoded so far, by path, with the file version each came
// from (failures included, so a broken file is not re-read on every frame).
// The widget shows two pictures; the bound only guards against a caller
// that names many.
class BitmapCache {
 public:
  template <typename Decode>
  std::shared_ptr<const Bitmap> find(const std::filesystem::path& path, const FileVersion& version,
                                     Decode decode) {
    const std::lock_guard lock(mutex_);
    const auto found = entries_.find(path.string());
    if (found != entries_.end() && found->second.version == version) return found->second.bitmap;
    if (entries_.size() >= largestEntryCount) entries_.clear();
    std::shared_ptr<const Bitmap> bitmap = decode();
    entries_.insert_or_assign(path.string(), Entry{version, bitmap});
    return bitmap;
  }

 private:
  static constexpr std::size_t largestEntryCount = 64;
  struct Entry {
    FileVersion version;
    std::shared_ptr<const Bitmap> bitmap;
  };
  std::mutex mutex_;
  std::map<std::string, Entry> entries_;
};

[[nodiscard]] BitmapCache& bitmapCache() {
  static BitmapCache cache;
  return cache;
}

}  // namespace

Bitmap::Bitmap(std::unique_ptr<Pixels> pixels) : pixels_(std::move(pixels)) {}
Bitmap::~Bitmap() = default;

std::shared_ptr<const Bitmap> Bitmap::loadPng(const std::filesystem::path& path) {
  const auto version = regularFileVersion(path);
  if (!version) return nullptr;
  return bitmapCache().find(path, *version, [&]() -> std::shared_ptr<const Bitmap> {
    // Read without blocking, and only a regular file of bounded size: a
    // FIFO or device swapped in after the check above is refused here.
    const auto bytes = readSmallRegularFile(path, largestPictureFileBytes);
    if (!bytes) return nullptr;
    SurfaceHandle surface = decodePng(*bytes);
    if (!surface) return nullptr;
    auto pixels = std::make_unique<Pixels>();
    pixels->surface = std::move(surface);
    return std::shared_ptr<const Bitmap>(new Bitmap(std::move(pixels)));
  });
}

Size Bitmap::size() const {
  return {static_cast<double>(cairo_image_surface_get_width(pixels_->surface.get())),
          static_cast<double>(cairo_image_surface_get_height(pixels_->surface.get()))};
}

cairo_surface_t* BitmapAccess::surface(const Bitmap& bitmap) {
  return bitmap.pixels_->surface.get();
}

std::unique_lock<std::mutex> BitmapAccess::lockForDrawing(const Bitmap& bitmap) {
  return std::unique_lock(bitmap.pixels_->drawing);
}

}  // namespace kelpo::ui
