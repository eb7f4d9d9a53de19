#pragma once

#include "engine/views/color.h"

namespace kelpo {

// The "clear" end of a gradient that fades `color` out. Cairo interpolates
// gradient stops in straight (not premultiplied) colour, so fading towards
// transparent black would darken the middle of the fade into a grey fringe;
// fading towards the same colour at zero opacity keeps the hue all the way.
[[nodiscard]] inline ui::Color transparentStop(const ui::Color& color) {
  return color.opacity(0);
}

}  // namespace kelpo
