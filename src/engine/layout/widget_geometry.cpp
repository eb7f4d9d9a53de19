#include "engine/layout/widget_geometry.h"

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

WidgetGeometry widgetGeometry(Size size) {
  return {size, systemMargins, systemCornerRadius};
}

}  // namespace kelpo::ui
