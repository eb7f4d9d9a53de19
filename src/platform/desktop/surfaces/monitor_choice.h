#pragma once

// The monitor a widget goes on and the part of it left free by panels.

#include <gtk/gtk.h>

#include <optional>

#include "platform/desktop/surfaces/corner_position.h"

namespace kelpo::desktop {

// Monitor `number` when it exists, else the primary one, else the first;
// null when the display has none (all unplugged).
[[nodiscard]] GdkMonitor* chosenMonitor(GdkDisplay* display, const std::optional<int>& number);

// The monitor's work area in GDK's application pixels: on X11 from
// _NET_WORKAREA (or GTK's per-monitor areas), so panels are left free.
[[nodiscard]] PixelArea workAreaOf(GdkMonitor* monitor);

}  // namespace kelpo::desktop
