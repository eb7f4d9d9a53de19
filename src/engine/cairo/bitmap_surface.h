#pragma once

// The painter's view of a bitmap's pixels. Drawing code only.

#include <cairo.h>

#include <mutex>

#include "engine/cairo/bitmap.h"

namespace kelpo::ui {

struct BitmapAccess {
  // The image surface holding the bitmap's pixels; never null.
  [[nodiscard]] static cairo_surface_t* surface(const Bitmap& bitmap);
  // Held while Cairo draws from the surface. Bitmaps are shared between
  // threads (the contact sheet draws on two), and Cairo may hand the very
  // pixel image of an untransformed source to the compositor, whose
  // reference count is not atomic.
  [[nodiscard]] static std::unique_lock<std::mutex> lockForDrawing(const Bitmap& bitmap);
};

}  // namespace kelpo::ui
