#include "desktop/handling/drag_image.h"

#include <algorithm>
#include <cmath>

#include "desktop/settings/instance_place.h"

namespace kelpo::desktop {

ui::Rect dragImageFrame(const DragImageQuery& query) {
  const ui::Rect overlay{{0, 0}, query.overlay};
  const InstancePlace place = placeOfDrop(query.frame, query.workArea);
  if (query.dropsHere) return frameAt(place, query.frame.size, overlay);
  const bool right = place.corner == Corner::topRight || place.corner == Corner::bottomRight;
  const bool bottom = place.corner == Corner::bottomLeft || place.corner == Corner::bottomRight;
  const ui::Rect& area = query.workArea;
  const ui::Rect& frame = query.frame;
  return {{right ? overlay.maxX() - (area.maxX() - frame.minX()) : frame.minX() - area.minX(),
           bottom ? overlay.maxY() - (area.maxY() - frame.minY()) : frame.minY() - area.minY()},
          frame.size};
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
