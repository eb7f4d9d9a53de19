#include "engine/drawing/continuous_corners.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kelpo::ui {

namespace {

// A corner in its own frame, in units of the radius: `a` runs from the
// corner back along the edge the outline arrives on, `b` along the edge it
// leaves on. The chain goes from (extent, 0) on the first edge to
// (0, extent) on the second: a curve, a short line, a curve, a curve.
struct CornerChain {
  std::array<Point, 12> points;  // start, c1, c2, p1, p2, c1, c2, p3, c1, c2, end
};

// The published control points of the continuous corner.
constexpr CornerChain continuousChain{{{
    {1.52866483, 0},
    {1.08849323, 0},
    {0.86840689, 0},
    {0.66993427, 0.06549600},
    {0.63149399, 0.07491100},
    {0.37282392, 0.16905899},
    {0.16906013, 0.37282401},
    {0.07491176, 0.63149399},
    {0, 0.86840701},
    {0, 1.08849299},
    {0, 1.52866483},
    {0, 0},  // unused
}}};

// A quarter circle of radius 1 laid out like the continuous chain (pieces
// of 22.5, 45 and 22.5 degrees, a line of no length between the first two),
// so that the two can be blended point by point.
CornerChain circularChain() {
  // On the circle centred at (1, 1), angle t from the first edge's tangent point.
  const auto at = [](double t) { return Point{1 - std::sin(t), 1 - std::cos(t)}; };
  const auto tangent = [](double t) { return Point{-std::cos(t), std::sin(t)}; };
  const auto piece = [&](double from, double to, Point* out) {
    const double handle = 4.0 / 3.0 * std::tan((to - from) / 4);
    const Point start = at(from);
    const Point end = at(to);
    out[0] = {start.x + handle * tangent(from).x, start.y + handle * tangent(from).y};
    out[1] = {end.x - handle * tangent(to).x, end.y - handle * tangent(to).y};
    out[2] = end;
  };
  constexpr double split = std::numbers::pi / 8;
  CornerChain chain{};
  chain.points[0] = at(0);
  piece(0, split, &chain.points[1]);
  chain.points[4] = chain.points[3];
  piece(split, std::numbers::pi / 2 - split, &chain.points[5]);
  piece(std::numbers::pi / 2 - split, std::numbers::pi / 2, &chain.points[8]);
  return chain;
}

[[nodiscard]] Point mix(Point from, Point to, double t) {
  return {from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
}

// A corner's position and the two directions its chain runs along.
struct Corner {
  Point vertex;
  Point back;  // along the arriving edge, away from the vertex
  Point next;  // along the leaving edge, away from the vertex
};

void appendCorner(std::vector<PathElement>& path, const CornerChain& chain, const Corner& corner,
                  double radius) {
  const auto place = [&](Point p) {
    return Point{corner.vertex.x + radius * (p.x * corner.back.x + p.y * corner.next.x),
                 corner.vertex.y + radius * (p.x * corner.back.y + p.y * corner.next.y)};
  };
  const auto& p = chain.points;
  path.emplace_back(LineTo{place(p[0])});
  path.emplace_back(CurveTo{place(p[1]), place(p[2]), place(p[3])});
  path.emplace_back(LineTo{place(p[4])});
  path.emplace_back(CurveTo{place(p[5]), place(p[6]), place(p[7])});
  path.emplace_back(CurveTo{place(p[8]), place(p[9]), place(p[10])});
}

}  // namespace

std::vector<PathElement> roundedRectOutline(const Rect& rect, double radius, CornerStyle style) {
  const double width = std::max(0.0, rect.size.width);
  const double height = std::max(0.0, rect.size.height);
  const double half = std::min(width, height) / 2;
  const double r = std::isfinite(radius) ? std::clamp(radius, 0.0, half) : 0;
  const double minX = rect.origin.x;
  const double minY = rect.origin.y;
  const double maxX = minX + width;
  const double maxY = minY + height;
  if (r <= 0) {
    return {MoveTo{{minX, minY}}, LineTo{{maxX, minY}}, LineTo{{maxX, maxY}}, LineTo{{minX, maxY}},
            ClosePath{}};
  }

  // How continuous the corners may be: fully when the reach fits in half
  // the shorter side, less so as the radius nears that half.
  double continuity = 0;
  if (style == CornerStyle::continuous) {
    continuity = std::clamp((half / r - 1) / (continuousCornerExtent - 1), 0.0, 1.0);
  }
  static const CornerChain circular = circularChain();
  CornerChain chain{};
  for (std::size_t i = 0; i < chain.points.size(); ++i) {
    chain.points[i] = mix(circular.points[i], continuousChain.points[i], continuity);
  }

  const std::array corners = {
      Corner{{maxX, minY}, {-1, 0}, {0, 1}},
      Corner{{maxX, maxY}, {0, -1}, {-1, 0}},
      Corner{{minX, maxY}, {1, 0}, {0, -1}},
      Corner{{minX, minY}, {0, 1}, {1, 0}},
  };
  const double reach = chain.points[10].y * r;
  std::vector<PathElement> path;
  path.reserve(2 + corners.size() * 5);
  path.emplace_back(MoveTo{{minX + reach, minY}});
  for (const Corner& corner : corners) appendCorner(path, chain, corner, r);
  path.emplace_back(ClosePath{});
  return path;
}

}  // namespace kelpo::ui
