#include "engine/drawing/paint_source.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace kelpo::ui {

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};

[[nodiscard]] Point pointIn(const Rect& frame, UnitPoint unit) {
  return {frame.origin.x + unit.x * frame.size.width, frame.origin.y + unit.y * frame.size.height};
}

// Stops at 0, 1/(n-1), ..., 1; a single colour covers the whole range.
void addEvenlySpacedStops(cairo_pattern_t* pattern, const std::vector<Color>& colors,
                          ColorScheme scheme) {
  const std::size_t count = colors.size();
  for (std::size_t i = 0; i < count; ++i) {
    const double offset = count == 1 ? 0 : static_cast<double>(i) / static_cast<double>(count - 1);
    const Rgba c = colors[i].resolve(scheme);
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.red, c.green, c.blue, c.alpha);
  }
}

[[nodiscard]] PatternHandle solidPattern(const Rgba& c) {
  return PatternHandle(cairo_pattern_create_rgba(c.red, c.green, c.blue, c.alpha));
}

[[nodiscard]] PatternHandle gradientPattern(PatternHandle pattern, const std::vector<Color>& colors,
                                            ColorScheme scheme) {
  if (colors.empty()) return solidPattern({0, 0, 0, 0});
  addEvenlySpacedStops(pattern.get(), colors, scheme);
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
  return pattern;
}

}  // namespace

PatternHandle makePattern(const Paint& paint, const Rect& frame, ColorScheme scheme) {
  return std::visit(Overloaded{
                        [&](const Color& color) { return solidPattern(color.resolve(scheme)); },
                        [&](const LinearGradient& gradient) {
                          const Point start = pointIn(frame, gradient.startPoint);
                          const Point end = pointIn(frame, gradient.endPoint);
                          return gradientPattern(PatternHandle(cairo_pattern_create_linear(
                                                     start.x, start.y, end.x, end.y)),
                                                 gradient.colors, scheme);
                        },
                        [&](const RadialGradient& gradient) {
                          const Point centre = pointIn(frame, gradient.center);
                          const double startRadius = std::max(0.0, gradient.startRadius);
                          const double endRadius = std::max(0.0, gradient.endRadius);
                          return gradientPattern(
                              PatternHandle(cairo_pattern_create_radial(
                                  centre.x, centre.y, startRadius, centre.x, centre.y, endRadius)),
                              gradient.colors, scheme);
                        },
                    },
                    paint);
}

}  // namespace kelpo::ui
