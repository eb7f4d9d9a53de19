#include "platform/desktop/surfaces/monitor_choice.h"

#include <charconv>
#include <vector>

#include "platform/desktop/settings/monitor_preference.h"

namespace kelpo::desktop {
namespace {

// A wish given as a number ("--monitor 1"): that monitor, if there is one.
[[nodiscard]] std::optional<int> monitorNumber(const std::string& wanted) {
  int number = 0;
  const char* end = wanted.data() + wanted.size();
  const auto [rest, failure] = std::from_chars(wanted.data(), end, number);
  if (failure != std::errc() || rest != end || number < 0) return std::nullopt;
  return number;
}

}  // namespace

std::string monitorName(GdkMonitor* monitor) {
  const char* model = gdk_monitor_get_model(monitor);
  return model != nullptr ? model : "";
}

GdkMonitor* chosenMonitor(GdkDisplay* display, const std::optional<std::string>& wanted) {
  const int count = gdk_display_get_n_monitors(display);
  if (wanted) {
    if (const auto number = monitorNumber(*wanted); number && *number < count) {
      return gdk_display_get_monitor(display, *number);
    }
  }
  std::vector<MonitorInfo> monitors;
  for (int i = 0; i < count; ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    monitors.push_back({monitorName(monitor), gdk_monitor_is_primary(monitor) != FALSE});
  }
  const auto chosen = chooseMonitor(wanted, monitors);
  return chosen ? gdk_display_get_monitor(display, static_cast<int>(*chosen)) : nullptr;
}

ui::Rect workAreaOf(GdkMonitor* monitor) {
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  return {{static_cast<double>(area.x), static_cast<double>(area.y)},
          {static_cast<double>(area.width), static_cast<double>(area.height)}};
}

}  // namespace kelpo::desktop
