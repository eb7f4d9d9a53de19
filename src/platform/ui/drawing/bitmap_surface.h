#pragma once

// The painter's view of a bitmap's pixels. Drawing code only.

#include <cairo.h>

#include "platform/ui/drawing/bitmap.h"

namespace kelpo::ui {

struct BitmapAccess {
  // The image surface holding the bitmap's pixels; never null.
  [[nodiscard]] static cairo_surface_t* surface(const Bitmap& bitmap);
};

}  // namespace kelpo::ui
