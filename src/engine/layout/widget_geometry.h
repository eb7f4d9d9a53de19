#pragma once

// The outline of a widget instance of a given size: the margins kept free
// around the content, and the corner radius.

#include "engine/views/environment.h"
#include "engine/views/geometry.h"

namespace kelpo::ui {

struct WidgetGeometry {
  Size size;
  EdgeInsets contentMargins;
  double cornerRadius = 0;
  // Where the root content goes, in widget points.
  [[nodiscard]] Rect contentRect() const;
};

// An instance of `size` points, with 16-point margins on every edge. The outline's continuous
// corners have a radius of 20 points, close to the rounding of the desktop's widget outlines and
// well inside the 16-point margins, so no content is ever cut by a corner.
[[nodiscard]] WidgetGeometry widgetGeometry(Size size);

}  // namespace kelpo::ui
