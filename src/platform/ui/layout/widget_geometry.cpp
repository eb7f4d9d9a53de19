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
  switch (family) {
    case WidgetFamily::systemSmall:
      return {{170, 170}, systemMargins, systemCornerRadius};
    case WidgetFamily::systemMedium:
      return {{364, 170}, systemMargins, systemCornerRadius};
    case WidgetFamily::systemLarge:
      return {{364, 382}, systemMargins, systemCornerRadius};
    case WidgetFamily::systemExtraLarge:
      return {{768, 382}, systemMargins, systemCornerRadius};
    case WidgetFamily::accessoryCircular:
      return {{72, 72}, {}, 36};
    case WidgetFamily::accessoryRectangular:
      return {{172, 76}, {}, 0};
    case WidgetFamily::accessoryInline:
      return {{234, 26}, {}, 0};
  }
  return {{170, 170}, systemMargins, systemCornerRadius};
}

}  // namespace kelpo::ui
