#include "platform/desktop/surfaces/monitor_choice.h"

namespace kelpo::desktop {

GdkMonitor* chosenMonitor(GdkDisplay* display, const std::optional<int>& number) {
  if (number) {
    if (GdkMonitor* monitor = gdk_display_get_monitor(display, *number)) return monitor;
  }
  if (GdkMonitor* primary = gdk_display_get_primary_monitor(display)) return primary;
  return gdk_display_get_monitor(display, 0);
}

PixelArea workAreaOf(GdkMonitor* monitor) {
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  return {area.x, area.y, area.width, area.height};
}

}  // namespace kelpo::desktop
