#include "desktop/surfaces/monitor_scale.h"

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <algorithm>
#include <chrono>
#include <vector>

#include "desktop/handling/monitor_layout.h"
#include "desktop/settings/display_scale.h"
#include "desktop/surfaces/mutter_layout.h"
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

[[nodiscard]] double x11Scale(GtkWidget* window) {
  return x11MonitorScale(std::max(1, gtk_widget_get_scale_factor(window)), xftDpi(window));
}

// An X11 display in a Wayland session is XWayland's (as the host's route
// counts it): there only the compositor knows the monitors' scales, and
// mutter tells them.
[[nodiscard]] bool underXwayland() {
  const char* wayland = g_getenv("WAYLAND_DISPLAY");
  return wayland != nullptr && *wayland != '\0';
}

// The scale mutter gave the logical monitor the window shows on, matched by
// place as for its name; what X11 says where mutter does not answer (XWayland
// under another compositor) or no logical monitor lies there.
[[nodiscard]] double xwaylandScale(GtkWidget* window, const std::vector<LogicalMonitor>& layout) {
  GdkWindow* shown = gtk_widget_get_window(window);
  if (shown == nullptr) return x11Scale(window);
  GdkDisplay* display = gdk_window_get_display(shown);
  GdkMonitor* monitor = gdk_display_get_monitor_at_window(display, shown);
  std::vector<ui::Rect> geometries;
  std::optional<std::size_t> index;
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    GdkMonitor* each = gdk_display_get_monitor(display, i);
    GdkRectangle area{};
    gdk_monitor_get_geometry(each, &area);
    geometries.push_back({{static_cast<double>(area.x), static_cast<double>(area.y)},
                          {static_cast<double>(area.width), static_cast<double>(area.height)}});
    if (each == monitor) index = static_cast<std::size_t>(i);
  }
  const auto logical = logicalMonitorsByGeometry(geometries, layout);
  if (!index || !logical[*index]) return x11Scale(window);
  return layout[*logical[*index]].scale;
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
  if (underXwayland()) {
    mutterAsked_ = std::make_unique<MutterLayoutQuestion>(
        [window, answer = std::move(answered)](const std::vector<LogicalMonitor>& layout) {
          answer(xwaylandScale(window, layout));
        },
        outputsPatience);
    return;
  }
  answered(x11Scale(window));
}

MonitorScaleQuestion::~MonitorScaleQuestion() = default;

}  // namespace kelpo::desktop
