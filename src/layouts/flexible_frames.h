#pragma once

#include "engine/views/view.h"

namespace kelpo {

// A frame that takes all the width and height offered and places its content
// by `alignment`.
[[nodiscard]] inline ui::FlexibleFrame fillingFrame(ui::Alignment alignment) {
  ui::FlexibleFrame bounds;
  bounds.maxWidth = ui::infinity;
  bounds.maxHeight = ui::infinity;
  bounds.alignment = alignment;
  return bounds;
}

// A frame that takes all the height offered, content centred; width free.
[[nodiscard]] inline ui::FlexibleFrame fullHeightFrame() {
  ui::FlexibleFrame bounds;
  bounds.maxHeight = ui::infinity;
  return bounds;
}

}  // namespace kelpo
