#include "desktop/settings/instance_place.h"

#include <algorithm>

namespace kelpo::desktop {
namespace {

[[nodiscard]] bool onRight(Corner corner) {
  return corner == Corner::topRight || corner == Corner::bottomRight;
}
[[nodiscard]] bool onBottom(Corner corner) {
  return corner == Corner::bottomLeft || corner == Corner::bottomRight;
}

// `start` moved so that [start, start + length] lies inside [low, high]; a
// length larger than the range keeps the start at `low`.
[[nodiscard]] double keptInside(double start, double length, double low, double high) {
  return std::max(low, std::min(start, high - length));
}

// `start` on the nearer edge when within snapDistance of it.
[[nodiscard]] double snapped(double start, double length, double low, double high) {
  if (start - low <= snapDistance) return low;
  if (high - (start + length) <= snapDistance) return std::max(low, high - length);
  return start;
}

}  // namespace

ui::Rect frameAt(const InstancePlace& place, ui::Size size, const ui::Rect& workArea) {
  const double x = onRight(place.corner) ? workArea.maxX() - size.width - place.horizontalOffset
                                         : workArea.minX() + place.horizontalOffset;
  const double y = onBottom(place.corner) ? workArea.maxY() - size.height - place.verticalOffset
                                          : workArea.minY() + place.verticalOffset;
  return {{keptInside(x, size.width, workArea.minX(), workArea.maxX()),
           keptInside(y, size.height, workArea.minY(), workArea.maxY())},
          size};
}

InstancePlace placeOfDrop(const ui::Rect& dropped, const ui::Rect& workArea) {
  const ui::Size size = dropped.size;
  const double x = snapped(keptInside(dropped.minX(), size.width, workArea.minX(), workArea.maxX()),
                           size.width, workArea.minX(), workArea.maxX());
  const double y =
      snapped(keptInside(dropped.minY(), size.height, workArea.minY(), workArea.maxY()),
              size.height, workArea.minY(), workArea.maxY());
  const ui::Point centre{x + size.width / 2, y + size.height / 2};
  const bool right = centre.x > workArea.center().x;
  const bool bottom = centre.y > workArea.center().y;
  const Corner corner = bottom ? (right ? Corner::bottomRight : Corner::bottomLeft)
                               : (right ? Corner::topRight : Corner::topLeft);
  return {corner, right ? workArea.maxX() - (x + size.width) : x - workArea.minX(),
          bottom ? workArea.maxY() - (y + size.height) : y - workArea.minY()};
}

}  // namespace kelpo::desktop
