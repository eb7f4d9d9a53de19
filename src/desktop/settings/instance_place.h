#pragma once

// Where a widget instance sits on its monitor, as a person put it there: the
// nearest corner of the monitor's work area and the offsets from that
// corner's two edges, in points. Kept so, a place survives a change of
// resolution or scale, and a panel that grows pushes the widget along
// instead of covering it.

#include <array>
#include <optional>
#include <string_view>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

enum class Corner { topLeft, topRight, bottomLeft, bottomRight };

inline constexpr std::array allCorners{Corner::topLeft, Corner::topRight, Corner::bottomLeft,
                                       Corner::bottomRight};

// The words for a corner in desktop.ini and on the command line.
[[nodiscard]] constexpr std::string_view cornerName(Corner corner) {
  switch (corner) {
    case Corner::topLeft:
      return "top-left";
    case Corner::topRight:
      return "top-right";
    case Corner::bottomLeft:
      return "bottom-left";
    case Corner::bottomRight:
      return "bottom-right";
  }
  return "top-right";
}

[[nodiscard]] constexpr std::optional<Corner> cornerNamed(std::string_view name) {
  for (const Corner corner : allCorners) {
    if (cornerName(corner) == name) return corner;
  }
  return std::nullopt;
}

struct InstancePlace {
  Corner corner = Corner::topRight;
  double horizontalOffset = 0;  // points from the corner's left or right edge
  double verticalOffset = 0;    // points from the corner's top or bottom edge

  friend bool operator==(const InstancePlace&, const InstancePlace&) = default;
};

// A drop closer than this to an edge of the work area lands on the edge.
inline constexpr double snapDistance = 16;

// The frame of a widget of `size` at `place` in `workArea` (all in points),
// moved fully inside the work area when the offsets would put it out (a
// smaller screen than the one it was placed on).
[[nodiscard]] ui::Rect frameAt(const InstancePlace& place, ui::Size size, const ui::Rect& workArea);

// The place of a widget dropped with the frame `dropped`: moved fully inside
// the work area, snapped to each edge within snapDistance, then measured from
// the work area's nearest corner.
[[nodiscard]] InstancePlace placeOfDrop(const ui::Rect& dropped, const ui::Rect& workArea);

}  // namespace kelpo::desktop
