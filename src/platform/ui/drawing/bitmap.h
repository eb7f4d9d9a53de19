#pragma once

#include <filesystem>
#include <memory>

#include "platform/ui/views/geometry.h"

namespace kelpo::ui {

// Decoded pixels of an image file, immutable once loaded and shared by the
// views that show it.
class Bitmap {
 public:
  // The decoded PNG at `path`, or null when the file is missing,
  // unreadable, corrupt or empty.
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
