#include "desktop/handling/monitor_layout.h"

#include <algorithm>
#include <cmath>

namespace kelpo::desktop {
namespace {

// How far `point` lies outside `rect`, 0 inside.
[[nodiscard]] double distanceTo(ui::Point point, const ui::Rect& rect) {
  const double dx = std::max({rect.minX() - point.x, 0.0, point.x - rect.maxX()});
  const double dy = std::max({rect.minY() - point.y, 0.0, point.y - rect.maxY()});
  return std::hypot(dx, dy);
}

// Layouts are in whole pixels; scaled ones may round a corner differently.
constexpr double sameCornerTolerance = 1;

[[nodiscard]] bool sameCorner(ui::Point a, ui::Point b) {
  return std::abs(a.x - b.x) <= sameCornerTolerance && std::abs(a.y - b.y) <= sameCornerTolerance;
}

}  // namespace

std::optional<std::size_t> monitorUnder(ui::Point pointer, std::span<const ui::Rect> monitors) {
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].contains(pointer)) return i;
  }
  std::optional<std::size_t> nearest;
  for (std::size_t i = 0; i < monitors.size(); ++i) {
    if (!nearest || distanceTo(pointer, monitors[i]) < distanceTo(pointer, monitors[*nearest])) {
      nearest = i;
    }
  }
  return nearest;
}

std::vector<std::optional<std::size_t>> logicalMonitorsByGeometry(
    std::span<const ui::Rect> shown, std::span<const LogicalMonitor> layout) {
  std::vector<std::optional<std::size_t>> found;
  for (const ui::Rect& monitor : shown) {
    const auto matches = [&](const LogicalMonitor& logical) {
      return !logical.connectors.empty() && sameCorner(logical.origin, monitor.origin);
    };
    const auto match = std::ranges::find_if(layout, matches);
    const bool single = match != layout.end() && std::ranges::count_if(layout, matches) == 1 &&
                        std::ranges::count_if(shown, [&](const ui::Rect& other) {
                          return sameCorner(other.origin, monitor.origin);
                        }) == 1;
    found.push_back(single ? std::optional(static_cast<std::size_t>(match - layout.begin()))
                           : std::nullopt);
  }
  return found;
}

std::vector<std::string> connectorNamesByGeometry(std::span<const ui::Rect> shown,
                                                  std::span<const LogicalMonitor> layout) {
  std::vector<std::string> names;
  for (const auto& logical : logicalMonitorsByGeometry(shown, layout)) {
    names.push_back(logical ? layout[*logical].connectors.front() : std::string());
  }
  return names;
}

}  // namespace kelpo::desktop
