#include "platform/ui/layout/widget_geometry.h"

#include <algorithm>

namespace kelpo::ui {

namespace {

constexpr double systemMargin = 16;
constexpr double systemCornerRadius = 20;
constexpr EdgeInsets systemMargins{systemMargin, systemMargin, systemMargin, systemMargin};

}  // namespace

Rect WidgetGeometry::contentRect() const {
  return Rect{{contentMargins.leading, contentMargins.top},
              {std::max(0.0, size.width - contentMargins.leading - contentMargins.trailing),
               std::max(0.0, size.height - contentMargins.top - contentMargins.bottom)}};
}

WidgetGeometry widgetGeometry(WidgetFamily family) {
  const WidgetSize& size = widgetSize(family);
  return {{size.width, size.height}, systemMargins, systemCornerRadius};
}

}  // namespace kelpo::ui
