#include "platform/ui/drawing/bitmap.h"

#include <system_error>

#include "platform/ui/drawing/bitmap_surface.h"
#include "platform/ui/drawing/cairo_handles.h"

namespace kelpo::ui {

struct Bitmap::Pixels {
  SurfaceHandle surface;
};

Bitmap::Bitmap(std::unique_ptr<Pixels> pixels) : pixels_(std::move(pixels)) {}
Bitmap::~Bitmap() = default;

std::shared_ptr<const Bitmap> Bitmap::loadPng(const std::filesystem::path& path) {
  // Cairo would read a FIFO or a directory too; only regular files count.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return nullptr;
  SurfaceHandle surface(cairo_image_surface_create_from_png(path.c_str()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_image_surface_get_width(surface.get()) <= 0 ||
      cairo_image_surface_get_height(surface.get()) <= 0) {
    return nullptr;
  }
  auto pixels = std::make_unique<Pixels>();
  pixels->surface = std::move(surface);
  return std::shared_ptr<const Bitmap>(new Bitmap(std::move(pixels)));
}

Size Bitmap::size() const {
  return {static_cast<double>(cairo_image_surface_get_width(pixels_->surface.get())),
          static_cast<double>(cairo_image_surface_get_height(pixels_->surface.get()))};
}

cairo_surface_t* BitmapAccess::surface(const Bitmap& bitmap) {
  return bitmap.pixels_->surface.get();
}

}  // namespace kelpo::ui
