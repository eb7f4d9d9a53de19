#include "engine/drawing/outline_cells.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kelpo::ui {

namespace {

// Outlines beyond this many pixels from the origin are left to the clip.
constexpr double largestCoordinate = 1 << 24;

[[nodiscard]] bool onPixelBoundary(double v) {
  return std::isfinite(v) && std::abs(v) < largestCoordinate && std::floor(v) == v;
}

void addBox(std::vector<PixelBox>& boxes, int x0, int y0, int x1, int y1) {
  if (x1 > x0 && y1 > y0) boxes.push_back({x0, y0, x1 - x0, y1 - y0});
}

}  // namespace

std::optional<OutlineCells> outlineCells(const Rect& outline, double cornerReach) {
  const std::array edges = {outline.minX(), outline.minY(), outline.maxX(), outline.maxY()};
  if (!std::ranges::all_of(edges, onPixelBoundary) || !std::isfinite(cornerReach) ||
      !(outline.size.width > 0) || !(outline.size.height > 0)) {
    return std::nullopt;
  }
  const int x0 = static_cast<int>(outline.minX());
  const int y0 = static_cast<int>(outline.minY());
  const int x1 = static_cast<int>(outline.maxX());
  const int y1 = static_cast<int>(outline.maxY());
  // A pixel further along an edge than the corners reach lies against a
  // straight edge; one more pixel allows for the curves' rounding.
  const double reach = std::min(std::max(0.0, cornerReach) + 1, largestCoordinate);
  const int cornerBottom = static_cast<int>(std::ceil(outline.minY() + reach));
  const int cornerTop = static_cast<int>(std::floor(outline.maxY() - reach));
  const int middleLeft = static_cast<int>(std::ceil(outline.minX() + reach));
  const int middleRight = static_cast<int>(std::floor(outline.maxX() - reach));

  OutlineCells cells;
  if (cornerBottom > cornerTop) {
    // The corners leave no straight stretch on the sides: one band.
    addBox(cells.inside, middleLeft, y0, middleRight, y1);
    addBox(cells.edgeBands, x0 - 1, y0, x1 + 1, y1);
    return cells;
  }
  addBox(cells.inside, middleLeft, y0, middleRight, cornerBottom);
  addBox(cells.inside, x0, cornerBottom, x1, cornerTop);
  addBox(cells.inside, middleLeft, cornerTop, middleRight, y1);
  // A pixel wider than the outline on each side, so that a clip to a band
  // cuts no edge of the outline but the straight sides, where it crosses.
  addBox(cells.edgeBands, x0 - 1, y0, x1 + 1, cornerBottom);
  addBox(cells.edgeBands, x0 - 1, cornerTop, x1 + 1, y1);
  return cells;
}

}  // namespace kelpo::ui
