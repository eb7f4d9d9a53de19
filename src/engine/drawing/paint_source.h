#pragma once

// Turning the view layer's paints into Cairo sources. Drawing code only.

#include <cairo.h>

#include "engine/drawing/cairo_handles.h"
#include "engine/views/color.h"
#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

// A Cairo pattern for `paint` over `frame` (user space): a solid colour, or
// a gradient whose unit points are mapped onto the frame. Gradients keep
// their end colours beyond their ends, and colours are straight sRGB.
[[nodiscard]] PatternHandle makePattern(const Paint& paint, const Rect& frame, ColorScheme scheme);

}  // namespace kelpo::ui
