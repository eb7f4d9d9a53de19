#pragma once

// Where a window goes in a monitor's work area (the monitor less the panels
// and bars that reserve space), counted from one corner.

#include "platform/desktop/settings/desktop_settings.h"

namespace kelpo::desktop {

struct PixelArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

[[nodiscard]] bool isTopCorner(Corner corner);
[[nodiscard]] bool isLeftCorner(Corner corner);

// The top-left of a `width` x `height` window `margin` from both edges of
// `corner`, and `along` further from its horizontal edge (the instances
// before it). A window larger than the area keeps its top-left inside it,
// where its content starts.
[[nodiscard]] PixelPoint cornerPosition(const PixelArea& area, int width, int height, Corner corner,
                                        int margin, int along);

}  // namespace kelpo::desktop
