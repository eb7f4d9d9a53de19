#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace kelpo {

// The size classes of a widget instance on the desktop.
enum class WidgetFamily {
  systemSmall,
  systemMedium,
};

// One size the widget comes in: the name people and settings use for it
// (command line, desktop.ini, menus), its family and its outline in points.
struct WidgetSize {
  std::string_view name;
  WidgetFamily family;
  double width;
  double height;
};

// Every size the widget offers, in the order offered. Everything that names,
// lists or measures a size reads this table: a new size is one row here, one
// case in the family enumeration and one layout.
inline constexpr std::array widgetSizes{
    WidgetSize{"small", WidgetFamily::systemSmall, 170, 170},
    WidgetSize{"medium", WidgetFamily::systemMedium, 364, 170},
};

// The row of `family`.
[[nodiscard]] constexpr const WidgetSize& widgetSize(WidgetFamily family) {
  for (const WidgetSize& size : widgetSizes) {
    if (size.family == family) return size;
  }
  return widgetSizes.front();
}

// The family whose outline is `width` × `height` points, if any.
[[nodiscard]] constexpr std::optional<WidgetFamily> widgetFamilyOfOutline(double width,
                                                                          double height) {
  for (const WidgetSize& size : widgetSizes) {
    if (size.width == width && size.height == height) return size.family;
  }
  return std::nullopt;
}

// The family of the size called `name`, exactly as written in the table.
[[nodiscard]] constexpr std::optional<WidgetFamily> widgetFamilyNamed(std::string_view name) {
  for (const WidgetSize& size : widgetSizes) {
    if (size.name == name) return size.family;
  }
  return std::nullopt;
}

}  // namespace kelpo
