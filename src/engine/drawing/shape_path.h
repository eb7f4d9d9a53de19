#pragma once

// Tracing shapes fitted to a frame into a Cairo path. Drawing code only.

#include <cairo.h>

#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

// Replaces the current path with the outline of `shape` fitted to `frame`,
// inset by `inset` on every side (a rounded rectangle's radius shrinks with
// it, as a circle's does). A circle starts at 3 o'clock and runs clockwise,
// keeping only the fraction [trimFrom, trimTo] of its length; rectangles
// ignore a partial trim and vanish when the trim keeps nothing.
void traceShape(cairo_t* cr, const ShapeGeometry& shape, const Rect& frame, double inset = 0);

// Replaces the current path with a rounded rectangle outline.
void traceRoundedRect(cairo_t* cr, const Rect& rect, double radius, CornerStyle style);

}  // namespace kelpo::ui
