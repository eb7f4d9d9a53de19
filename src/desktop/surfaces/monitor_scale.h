#pragma once

// The scale the desktop gave the monitor a window shows on, for the host's
// report: GTK 3 gives only the whole number it draws at.

#include <gtk/gtk.h>

#include <optional>

namespace kelpo::desktop {

// The monitor's scale: on Wayland its mode over its logical size, asked of
// the compositor; on X11 what the session's settings say
// (desktop/settings/display_scale.h). Nothing when the compositor does not
// say, and for a window not yet on a monitor.
[[nodiscard]] std::optional<double> monitorScaleOf(GtkWidget* window);

}  // namespace kelpo::desktop
