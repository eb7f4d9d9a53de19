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

// The compositor answers in a millisecond when idle; one drawing its first
// frames in software (KWin 5 as a window, scaled) has taken over a second.
// One silent this long is stuck: the report then says what it knows.
constexpr std::chrono::milliseconds outputsPatience{10000};

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
// The window's monitor is asked when the answer comes: its monitors may
// have changed since the question.
[[nodiscard]] std::optional<double> waylandScale(
    GtkWidget* window, const std::optional<std::vector<WaylandOutput>>& outputs) {
  GdkWindow* shown = gtk_widget_get_window(window);
  if (!outputs || shown == nullptr) return std::nullopt;
  GdkDisplay* display = gdk_window_get_display(shown);
  GdkMonitor* monitor = gdk_display_get_monitor_at_window(display, shown);
  const int monitors = gdk_display_get_n_monitors(display);
  int index = -1;
  for (int i = 0; i < monitors; ++i) {
    if (gdk_display_get_monitor(display, i) == monitor) index = i;
  }
  return waylandMonitorScaleAmong(*outputs, index, monitors);
}
#endif

}  // namespace

MonitorScaleQuestion::MonitorScaleQuestion(GtkWidget* window, Answer answered) {
  GdkWindow* shown = gtk_widget_get_window(window);
  if (shown == nullptr) {
    answered(std::nullopt);
    return;
  }
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(gdk_window_get_display(shown))) {
    // The window outlives the question, which it owns.
    asked_ = std::make_unique<WaylandOutputsQuestion>(
        [window, answer = std::move(answered)](auto outputs) {
          answer(waylandScale(window, outputs));
        },
        outputsPatience);
    return;
  }
#endif
  answered(x11MonitorScale(std::max(1, gtk_widget_get_scale_factor(window)), xftDpi(window)));
}

MonitorScaleQuestion::~MonitorScaleQuestion() = default;

}  // namespace kelpo::desktop
