#pragma once

#include <variant>
#include <vector>

#include "engine/views/color.h"
#include "engine/views/geometry.h"

namespace kelpo::ui {

// Evenly spaced colour stops from one unit point of the bounds to another.
struct LinearGradient {
  std::vector<Color> colors;
  UnitPoint startPoint = UnitPoint::top();
  UnitPoint endPoint = UnitPoint::bottom();
  friend bool operator==(const LinearGradient&, const LinearGradient&) = default;
};

// Evenly spaced colour stops from a centre (a unit point of the bounds)
// between two radii in points.
struct RadialGradient {
  std::vector<Color> colors;
  UnitPoint center = UnitPoint::center();
  double startRadius = 0;
  double endRadius = 0;
  friend bool operator==(const RadialGradient&, const RadialGradient&) = default;
};

// What fills a shape, colours a text or stands as a view of its own.
using Paint = std::variant<Color, LinearGradient, RadialGradient>;

enum class LineCap { butt, round, square };
enum class LineJoin { miter, round, bevel };

struct StrokeStyle {
  double lineWidth = 1;
  LineCap lineCap = LineCap::butt;
  LineJoin lineJoin = LineJoin::miter;
  double miterLimit = 10;
  std::vector<double> dash;
  double dashPhase = 0;
  friend bool operator==(const StrokeStyle&, const StrokeStyle&) = default;
};

enum class CornerStyle { circular, continuous };

// An outline fitted to the frame it is given. A circle is inscribed in the
// frame (centred, diameter the shorter side); its outline starts at 3 o'clock
// and runs clockwise, and `trim` keeps the fraction [from, to] of it.
struct ShapeGeometry {
  enum class Kind { rectangle, roundedRectangle, circle };
  Kind kind = Kind::rectangle;
  double cornerRadius = 0;
  CornerStyle cornerStyle = CornerStyle::continuous;
  double trimFrom = 0;
  double trimTo = 1;
  friend bool operator==(const ShapeGeometry&, const ShapeGeometry&) = default;
};

}  // namespace kelpo::ui
