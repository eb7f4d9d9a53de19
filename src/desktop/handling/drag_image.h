#pragma once

// Where a widget whose surface cannot move while it is held (a layer
// surface: the pointer is counted from it) shows its image during a drag:
// drawn on a transparent overlay over its output, which the compositor lays
// out in the same area the widget's anchors count from (what panels leave
// free), so the image sits where the drop will put the widget.

#include <optional>

#include "engine/views/geometry.h"

namespace kelpo::desktop {

struct DragImageQuery {
  ui::Rect frame;         // the gesture's frame, in the desktop's layout
  ui::Rect workArea;      // the overlay's output's, in the desktop's layout
  bool dropsHere = true;  // the pointer is over the overlay's output
  ui::Size overlay;       // the overlay's size, in points
};

// The image's frame on the overlay, at whole points of the overlay's. Dropping on
// the overlay's output, the frame the drop would give: snapped
// to the edges, kept inside, measured from the nearest corner. Dropping on
// another output, the frame follows the pointer past the edge, measured
// from the same corner: the drop lands there, not at this output's edge.
[[nodiscard]] ui::Rect dragImageFrame(const DragImageQuery& query);

// What to draw again on the overlay when the image moves from `before` to
// `after`: both, in whole points around them.
[[nodiscard]] ui::Rect overlayRepaint(const std::optional<ui::Rect>& before, const ui::Rect& after);

}  // namespace kelpo::desktop
