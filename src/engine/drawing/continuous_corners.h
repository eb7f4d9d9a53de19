#pragma once

// Outlines of rounded rectangles as plain path elements, free of any
// drawing library so that their geometry can be checked directly.

#include <variant>
#include <vector>

#include "engine/views/geometry.h"
#include "engine/views/paint.h"

namespace kelpo::ui {

struct MoveTo {
  Point to;
};
struct LineTo {
  Point to;
};
struct CurveTo {
  Point control1;
  Point control2;
  Point to;
};
struct ClosePath {};
using PathElement = std::variant<MoveTo, LineTo, CurveTo, ClosePath>;

// How far along each edge a continuous corner of radius 1 reaches: the
// corner curve of smooth ("squircle") corners, which bends
// in gradually instead of meeting the edge at a quarter circle's end.
inline constexpr double continuousCornerExtent = 1.52866483;

// The outline of `rect` with rounded corners, clockwise from the end of the
// top-left corner on the top edge.
//
// The radius is clamped to half the shorter side. A continuous corner is
// the widely used three-curve approximation of a smooth corner,
// reaching 1.52866 x radius along each edge; where the rect is too small
// for that reach, the corner blends towards a circular one (reach 1 x
// radius) just enough to fit, so a corner never overlaps its neighbour and
// a radius of half the side still gives a capsule. A circular corner is a
// quarter circle (three cubic pieces).
[[nodiscard]] std::vector<PathElement> roundedRectOutline(const Rect& rect, double radius,
                                                          CornerStyle style);

}  // namespace kelpo::ui
