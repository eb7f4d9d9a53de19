#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "engine/views/geometry.h"

namespace kelpo::ui {

// The widest and tallest picture decoded. The widget draws its pictures at a
// few hundred points at most; a file declaring more is refused before its
// pixels are decoded, so a small file cannot claim gigabytes.
inline constexpr std::uint32_t largestBitmapSide = 4096;

// Decoded pixels of an image file, immutable once loaded and shared by the
// views that show it.
class Bitmap {
 public:
  // The decoded PNG at `path`, or null when the file is missing, not a
  // regular file, unreadable, corrupt, empty or larger than
  // largestBitmapSide on a side. Each version of a file (by path, inode,
  // size and modification time) is decoded once per process: layouts redone
  // on every frame share the pixels, and a file replaced on disk is seen on
  // the next load. Safe to call from several threads.
  [[nodiscard]] static std::shared_ptr<const Bitmap> loadPng(const std::filesystem::path& path);

  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // The size in pixels, which the views take as points.
  [[nodiscard]] Size size() const;

 private:
  struct Pixels;
  explicit Bitmap(std::unique_ptr<Pixels> pixels);
  std::unique_ptr<Pixels> pixels_;
  friend struct BitmapAccess;  // the painter reads the pixels (bitmap_surface.h)
};

}  // namespace kelpo::ui
