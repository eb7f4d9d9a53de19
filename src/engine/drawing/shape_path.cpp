#include "engine/drawing/shape_path.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/drawing/continuous_corners.h"

namespace kelpo::ui {

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};

[[nodiscard]] Rect insetRect(const Rect& frame, double inset) {
  return {
      {frame.origin.x + inset, frame.origin.y + inset},
      {std::max(0.0, frame.size.width - 2 * inset), std::max(0.0, frame.size.height - 2 * inset)}};
}

void traceCircle(cairo_t* cr, const Rect& frame, double from, double to) {
  const double radius = std::min(frame.size.width, frame.size.height) / 2;
  if (!(radius > 0)) return;
  const Point centre = frame.center();
  constexpr double turn = 2 * std::numbers::pi;
  // Cairo's angles grow clockwise on screen from 3 o'clock, as the trim does.
  cairo_arc(cr, centre.x, centre.y, radius, from * turn, to * turn);
  if (from <= 0 && to >= 1) cairo_close_path(cr);
}

}  // namespace

void traceRoundedRect(cairo_t* cr, const Rect& rect, double radius, CornerStyle style) {
  cairo_new_path(cr);
  for (const PathElement& element : roundedRectOutline(rect, radius, style)) {
    std::visit(Overloaded{
                   [&](const MoveTo& e) { cairo_move_to(cr, e.to.x, e.to.y); },
                   [&](const LineTo& e) { cairo_line_to(cr, e.to.x, e.to.y); },
                   [&](const CurveTo& e) {
                     cairo_curve_to(cr, e.control1.x, e.control1.y, e.control2.x, e.control2.y,
                                    e.to.x, e.to.y);
                   },
                   [&](const ClosePath&) { cairo_close_path(cr); },
               },
               element);
  }
}

void traceShape(cairo_t* cr, const ShapeGeometry& shape, const Rect& frame, double inset) {
  cairo_new_path(cr);
  const double from = std::clamp(std::isnan(shape.trimFrom) ? 0 : shape.trimFrom, 0.0, 1.0);
  const double to = std::clamp(std::isnan(shape.trimTo) ? 1 : shape.trimTo, 0.0, 1.0);
  if (to <= from) return;
  const Rect fitted = insetRect(frame, std::isfinite(inset) ? inset : 0);
  switch (shape.kind) {
    case ShapeGeometry::Kind::circle:
      traceCircle(cr, fitted, from, to);
      return;
    case ShapeGeometry::Kind::roundedRectangle:
      traceRoundedRect(cr, fitted, shape.cornerRadius - inset, shape.cornerStyle);
      return;
    case ShapeGeometry::Kind::rectangle:
      cairo_rectangle(cr, fitted.origin.x, fitted.origin.y, fitted.size.width, fitted.size.height);
      return;
  }
}

}  // namespace kelpo::ui
