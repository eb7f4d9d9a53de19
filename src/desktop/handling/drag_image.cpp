#include "desktop/handling/drag_image.h"

#include <algorithm>
#include <cmath>

#include "desktop/settings/instance_place.h"

namespace kelpo::desktop {

namespace {

[[nodiscard]] ui::Rect unsnapped(const DragImageQuery& query, Corner corner) {
  const bool right = corner == Corner::topRight || corner == Corner::bottomRight;
  const bool bottom = corner == Corner::bottomLeft || corner == Corner::bottomRight;
  const ui::Rect& area = query.workArea;
  const ui::Rect& frame = query.frame;
  return {
      {right ? query.overlay.width - (area.maxX() - frame.minX()) : frame.minX() - area.minX(),
       bottom ? query.overlay.height - (area.maxY() - frame.minY()) : frame.minY() - area.minY()},
      frame.size};
}

}  // namespace

ui::Rect dragImageFrame(const DragImageQuery& query) {
  const InstancePlace place = placeOfDrop(query.frame, query.workArea);
  const ui::Rect image = query.dropsHere ? frameAt(place, query.frame.size, {{0, 0}, query.overlay})
                                         : unsnapped(query, place.corner);
  // At whole points, as the compositor puts the widget, and its pixels
  // stay as sharp as the widget's own.
  return {{std::round(image.minX()), std::round(image.minY())}, image.size};
}

ui::Rect overlayRepaint(const std::optional<ui::Rect>& before, const ui::Rect& after) {
  const ui::Rect both = before ? *before : after;
  const double left = std::floor(std::min(both.minX(), after.minX()));
  const double top = std::floor(std::min(both.minY(), after.minY()));
  const double right = std::ceil(std::max(both.maxX(), after.maxX()));
  const double bottom = std::ceil(std::max(both.maxY(), after.maxY()));
  return {{left, top}, {right - left, bottom - top}};
}

}  // namespace kelpo::desktop
