#include "platform/desktop/surfaces/corner_position.h"

#include <algorithm>

namespace kelpo::desktop {

bool isTopCorner(Corner corner) {
  return corner == Corner::topLeft || corner == Corner::topRight;
}

bool isLeftCorner(Corner corner) {
  return corner == Corner::topLeft || corner == Corner::bottomLeft;
}

PixelPoint cornerPosition(const PixelArea& area, int width, int height, Corner corner, int margin,
                          int along) {
  const int x = isLeftCorner(corner) ? area.x + margin : area.x + area.width - margin - width;
  const int y = isTopCorner(corner) ? area.y + margin + along
                                    : area.y + area.height - margin - along - height;
  return {std::max(area.x, x), std::max(area.y, y)};
}

}  // namespace kelpo::desktop
