#pragma once

// Which link a click at a point of a laid-out widget opens.

#include <optional>
#include <string>

#include "engine/layout/layout_tree.h"

namespace kelpo::ui {

// The URL of the innermost Link under `location` (widget points) in the
// topmost view hit there, else the widget's own URL; nothing outside the
// widget's rounded outline. Views that take no hits, and everything inside
// them, are passed over; offsets and rotations are followed, clips cut.
[[nodiscard]] std::optional<std::string> linkAt(const LaidOutWidget& widget, Point location);

}  // namespace kelpo::ui
