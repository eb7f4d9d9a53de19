#pragma once

// The outline of a widget instance by family: its size, the margins kept
// free around the content, and the corner radius.

#include "platform/ui/views/environment.h"
#include "platform/ui/views/geometry.h"

namespace kelpo::ui {

struct WidgetGeometry {
  Size size;
  EdgeInsets contentMargins;
  double cornerRadius = 0;
  // Where the root content goes, in widget points.
  [[nodiscard]] Rect contentRect() const;
};

// The family's size from the widget's table of sizes, with 16-point margins
// on every edge. The outline's continuous corners have a radius of 20
// points, close to the rounding of the desktop's widget outlines and well
// inside the 16-point margins, so no content is ever cut by a corner.
[[nodiscard]] WidgetGeometry widgetGeometry(WidgetFamily family);

}  // namespace kelpo::ui
