#include "engine/drawing/symbols.h"

#include <algorithm>
#include <numbers>
#include <optional>

#include "engine/drawing/cairo_handles.h"
#include "engine/drawing/paint_source.h"

namespace kelpo::ui {

namespace {

// Stroke width as a fraction of the symbol's side: 0.09 at regular weight,
// growing linearly to 0.14 at heavy, so a semibold symbol beside regular
// text looks as dark as the text.
[[nodiscard]] double strokeFraction(FontWeight weight) {
  const double w = std::clamp(static_cast<double>(weight), 400.0, 800.0);
  return 0.09 + (w - 400.0) / 400.0 * 0.05;
}

// Each symbol is drawn in a unit square (0...1 both ways, y down) that the
// caller has scaled to the symbol's box minus half a stroke on every side.
void traceMagnifyingGlass(cairo_t* cr) {
  constexpr double centre = 0.4;
  constexpr double radius = 0.34;
  cairo_new_sub_path(cr);
  cairo_arc(cr, centre, centre, radius, 0, 2 * std::numbers::pi);
  cairo_close_path(cr);
  const double rim = centre + radius * std::numbers::sqrt2 / 2;
  cairo_move_to(cr, rim, rim);
  cairo_line_to(cr, 1, 1);
}

void traceClock(cairo_t* cr) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0.5, 0.5, 0.5, 0, 2 * std::numbers::pi);
  cairo_close_path(cr);
  // Hands at ten past twelve-ish: the minute hand up, the hour hand towards
  // four o'clock, as on the usual clock symbol.
  cairo_move_to(cr, 0.5, 0.2);
  cairo_line_to(cr, 0.5, 0.5);
  cairo_line_to(cr, 0.72, 0.64);
}

void traceCheckmark(cairo_t* cr) {
  cairo_move_to(cr, 0.05, 0.55);
  cairo_line_to(cr, 0.36, 0.86);
  cairo_line_to(cr, 0.95, 0.14);
}

using Tracer = void (*)(cairo_t*);

[[nodiscard]] Tracer tracerFor(SymbolShape shape) {
  switch (shape) {
    case SymbolShape::magnifyingGlass:
      return traceMagnifyingGlass;
    case SymbolShape::clock:
      return traceClock;
    case SymbolShape::checkmark:
      break;
  }
  return traceCheckmark;
}

}  // namespace

void drawSymbol(cairo_t* cr, std::string_view name, const Rect& box, const Font& font,
                const Paint& paint, ColorScheme scheme) {
  const std::optional<SymbolShape> shape = symbolNamed(name);
  const double side = std::min(box.size.width, box.size.height);
  if (!shape || !(side > 0)) return;
  const Tracer trace = tracerFor(*shape);

  const double lineWidth = side * strokeFraction(font.weight);
  const double drawn = side - lineWidth;  // the stroke stays inside the box
  const Point centre = box.center();
  const SavedState saved(cr);
  cairo_new_path(cr);
  {
    // The path keeps its user-space position when the unit transform goes.
    const SavedState unitSquare(cr);
    cairo_translate(cr, centre.x - drawn / 2, centre.y - drawn / 2);
    cairo_scale(cr, drawn, drawn);
    trace(cr);
  }
  const PatternHandle source = makePattern(paint, box, scheme);
  cairo_set_source(cr, source.get());
  cairo_set_line_width(cr, lineWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

}  // namespace kelpo::ui
