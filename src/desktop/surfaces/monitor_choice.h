#pragma once

// The monitor a widget goes on and the part of it left free by panels.

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/settings/monitor_preference.h"
#include "engine/views/geometry.h"

namespace kelpo::desktop {

// The monitor named `wanted` (a connector name, or a number) while it is
// plugged in, else the primary one, else the first; null when the display
// has none (all unplugged).
[[nodiscard]] GdkMonitor* chosenMonitor(GdkDisplay* display,
                                        const std::optional<std::string>& wanted);

// The name a monitor is kept by: its connector ("HDMI-1") where the display
// server gives one as the model, as X11 servers do; on Wayland asked of the
// compositor, under XWayland of mutter. Empty when unknown.
[[nodiscard]] std::string monitorName(GdkMonitor* monitor);

// The display's monitors in GDK's order, named as monitorName names them.
struct PresentMonitors {
  std::vector<MonitorInfo> monitors;
  bool namesKnown = false;  // every monitor has its connector name
};
[[nodiscard]] PresentMonitors presentMonitors(GdkDisplay* display);

// The monitor a widget dropped with the pointer at `point` (in the desktop's
// layout, which GDK's monitor geometries share) lands on; null without
// monitors.
[[nodiscard]] GdkMonitor* monitorUnderPoint(GdkDisplay* display, ui::Point point);

// The monitor's work area in GDK's application pixels, which are points at
// any scale: on X11 from _NET_WORKAREA (or GTK's per-monitor areas), so
// panels are left free.
[[nodiscard]] ui::Rect workAreaOf(GdkMonitor* monitor);

}  // namespace kelpo::desktop
