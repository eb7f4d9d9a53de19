#include "desktop/surfaces/monitor_scale.h"

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <algorithm>
#include <chrono>
#include <vector>

#include "desktop/settings/display_scale.h"
#include "desktop/surfaces/wayland_globals.h"

namespace kelpo::desktop {
namespace {

// The compositor answers in a millisecond when idle, but one drawing its
// first frames in software (KWin as a window, scaled) takes a few hundred;
// asked once, for the report, after the first frame is shown. One that does
// not answer leaves the report with GTK's scale alone.
constexpr std::chrono::milliseconds outputsPatience{1000};

// Xft/DPI as GTK keeps it, in 1024ths of a dot per inch; -1 when no
// settings daemon gave one.
[[nodiscard]] std::optional<double> xftDpi(GtkWidget* window) {
  gint dpi = -1;
  g_object_get(gtk_widget_get_settings(window), "gtk-xft-dpi", &dpi, nullptr);
  if (dpi <= 0) return std::nullopt;
  return dpi / 1024.0;
}

#ifdef GDK_WINDOWING_WAYLAND
// GDK makes a monitor per output in the order the compositor announces
// them, which is the order our own connection sees (as for their names).
[[nodiscard]] std::optional<double> waylandScale(GdkDisplay* display, GdkMonitor* monitor) {
  const std::vector<WaylandOutput> outputs = waylandOutputs(outputsPatience);
  if (outputs.size() != static_cast<std::size_t>(gdk_display_get_n_monitors(display))) {
    return std::nullopt;
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (gdk_display_get_monitor(display, static_cast<int>(i)) == monitor) {
      return waylandMonitorScale(outputs[i].mode, outputs[i].logical, outputs[i].quarterTurned);
    }
  }
  return std::nullopt;
}
#endif

}  // namespace

std::optional<double> monitorScaleOf(GtkWidget* window) {
  GdkWindow* shown = gtk_widget_get_window(window);
  if (shown == nullptr) return std::nullopt;
  GdkDisplay* display = gdk_window_get_display(shown);
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    GdkMonitor* monitor = gdk_display_get_monitor_at_window(display, shown);
    return monitor != nullptr ? waylandScale(display, monitor) : std::nullopt;
  }
#endif
  return x11MonitorScale(std::max(1, gtk_widget_get_scale_factor(window)), xftDpi(window));
}

}  // namespace kelpo::desktop
