#pragma once

// Splitting a rounded outline, in device pixels, into the whole pixels it
// covers completely and the bands of rows around its corners that it
// covers only in part. Free of any drawing library so that it can be
// checked directly.

#include <optional>
#include <vector>

#include "engine/views/geometry.h"

namespace kelpo::ui {

struct PixelBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

struct OutlineCells {
  // Every pixel wholly inside the outline, in boxes that do not overlap.
  std::vector<PixelBox> inside;
  // Full-width bands of rows that hold every other pixel the outline
  // touches (its corners). A band's top and bottom cross no curve of the
  // outline.
  std::vector<PixelBox> edgeBands;
};

// The cells of a rounded rectangle at `outline` (device pixels) whose
// corners bend in no further than `cornerReach` pixels along each edge.
// None unless the outline's edges lie on pixel boundaries (elsewhere its
// straight edges would cover pixels in part too), or when it is empty or
// too large for int boxes.
[[nodiscard]] std::optional<OutlineCells> outlineCells(const Rect& outline, double cornerReach);

}  // namespace kelpo::ui
