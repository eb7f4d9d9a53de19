#include "desktop/surfaces/monitor_choice.h"

#ifdef GDK_WINDOWING_WAYLAND
#include <gdk/gdkwayland.h>
#endif

#include <algorithm>
#include <charconv>
#include <chrono>
#include <memory>
#include <vector>

#include "desktop/handling/monitor_layout.h"
#include "desktop/settings/monitor_preference.h"
#include "desktop/surfaces/mutter_layout.h"
#include "desktop/surfaces/wayland_globals.h"

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

// How long the compositor may take to name its outputs: it answers in a
// millisecond; one that does not leaves the monitors unnamed.
constexpr std::chrono::milliseconds outputNamesPatience{200};

// How long mutter may take to tell its layout, asked only under XWayland.
constexpr std::chrono::milliseconds mutterLayoutPatience{200};

[[nodiscard]] ui::Rect geometryOf(GdkMonitor* monitor) {
  GdkRectangle area{};
  gdk_monitor_get_geometry(monitor, &area);
  return {{static_cast<double>(area.x), static_cast<double>(area.y)},
          {static_cast<double>(area.width), static_cast<double>(area.height)}};
}

[[nodiscard]] std::vector<ui::Rect> geometries(GdkDisplay* display) {
  std::vector<ui::Rect> rects;
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    rects.push_back(geometryOf(gdk_display_get_monitor(display, i)));
  }
  return rects;
}

// XWayland names its monitors by number: the names a person knows are
// mutter's, matched by where each monitor lies.
[[nodiscard]] bool namedByXwayland(const std::vector<std::string>& names) {
  return std::ranges::any_of(names,
                             [](const std::string& name) { return name.starts_with("XWAYLAND"); });
}

struct MonitorNames {
  std::vector<std::string> names;  // in GDK's order; empty where unknown
  bool known = false;              // the display server told connector names
};

// The connector names of the display's monitors, in GDK's order. X11
// servers give the output name as the model; on Wayland GTK 3 gives the
// model ("headless", the same for every output of a kind), so the name is
// asked of the compositor. GDK makes a monitor per output in the order the
// compositor announces them, which is the order our own connection sees;
// wlroots gives every output the position 0,0 on wl_output, so the order,
// not the position, pairs them.
[[nodiscard]] MonitorNames monitorNames(GdkDisplay* display) {
  const int count = gdk_display_get_n_monitors(display);
  MonitorNames found{{}, true};
  for (int i = 0; i < count; ++i) {
    const char* model = gdk_monitor_get_model(gdk_display_get_monitor(display, i));
    found.names.emplace_back(model != nullptr ? model : "");
  }
#ifdef GDK_WINDOWING_WAYLAND
  if (GDK_IS_WAYLAND_DISPLAY(display)) {
    const std::vector<WaylandOutput> outputs = waylandOutputs(outputNamesPatience);
    found.known = outputs.size() == found.names.size() &&
                  std::ranges::none_of(outputs, [](const auto& o) { return o.name.empty(); });
    if (found.known) {
      for (std::size_t i = 0; i < found.names.size(); ++i) found.names[i] = outputs[i].name;
    }
    return found;
  }
#endif
  if (namedByXwayland(found.names)) {
    // Unmatched monitors keep XWayland's names, which desktop.ini may hold
    // from before.
    const std::vector<std::string> connectors =
        connectorNamesByGeometry(geometries(display), mutterLayout(mutterLayoutPatience));
    found.known = std::ranges::none_of(connectors, [](const auto& name) { return name.empty(); });
    for (std::size_t i = 0; i < connectors.size(); ++i) {
      if (!connectors[i].empty()) found.names[i] = connectors[i];
    }
  }
  return found;
}

// The names as last asked, kept on the display for as long as it shows the
// same monitors at the same places: asking costs a round trip to the
// compositor (or a call to mutter), and names are wanted on every motion of
// a drag. Checked on each use rather than forgotten on a signal, so that no
// handler of a monitor change can read names from before it.
struct CachedMonitorNames {
  std::vector<GdkMonitor*> monitors;
  std::vector<ui::Rect> geometries;
  MonitorNames names;
};

[[nodiscard]] std::vector<GdkMonitor*> monitorsOf(GdkDisplay* display) {
  std::vector<GdkMonitor*> monitors;
  for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
    monitors.push_back(gdk_display_get_monitor(display, i));
  }
  return monitors;
}

[[nodiscard]] const MonitorNames& knownMonitorNames(GdkDisplay* display) {
  constexpr const char* cachedNamesKey = "kelpo-monitor-names";
  GObject* object = G_OBJECT(display);
  std::vector<GdkMonitor*> monitors = monitorsOf(display);
  std::vector<ui::Rect> shape = geometries(display);
  if (const auto* cached =
          static_cast<const CachedMonitorNames*>(g_object_get_data(object, cachedNamesKey));
      cached != nullptr && cached->monitors == monitors && cached->geometries == shape) {
    return cached->names;
  }
  auto fresh = std::make_unique<CachedMonitorNames>(
      CachedMonitorNames{std::move(monitors), std::move(shape), monitorNames(display)});
  const MonitorNames& names = fresh->names;
  g_object_set_data_full(object, cachedNamesKey, fresh.release(), [](gpointer released) {
    std::unique_ptr<CachedMonitorNames>(static_cast<CachedMonitorNames*>(released)).reset();
  });
  return names;
}

}  // namespace

std::string monitorName(GdkMonitor* monitor) {
  GdkDisplay* display = gdk_monitor_get_display(monitor);
  const std::vector<std::string> names = knownMonitorNames(display).names;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (gdk_display_get_monitor(display, static_cast<int>(i)) == monitor) return names[i];
  }
  return "";
}

GdkMonitor* chosenMonitor(GdkDisplay* display, const std::optional<std::string>& wanted) {
  const int count = gdk_display_get_n_monitors(display);
  if (wanted) {
    if (const auto number = monitorNumber(*wanted); number && *number < count) {
      return gdk_display_get_monitor(display, *number);
    }
  }
  // Names are asked of the compositor only for a wish that is one: a
  // widget placed each time it reloads or is dragged asks nothing when it
  // goes on the primary monitor.
  const std::vector<std::string> names =
      wanted && !wanted->empty() ? knownMonitorNames(display).names
                                 : std::vector<std::string>(static_cast<std::size_t>(count));
  std::vector<MonitorInfo> monitors;
  for (int i = 0; i < count; ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, i);
    monitors.push_back(
        {names[static_cast<std::size_t>(i)], gdk_monitor_is_primary(monitor) != FALSE});
  }
  const auto chosen = chooseMonitor(wanted, monitors);
  return chosen ? gdk_display_get_monitor(display, static_cast<int>(*chosen)) : nullptr;
}

PresentMonitors presentMonitors(GdkDisplay* display) {
  const MonitorNames names = knownMonitorNames(display);
  PresentMonitors present{{}, names.known};
  for (std::size_t i = 0; i < names.names.size(); ++i) {
    GdkMonitor* monitor = gdk_display_get_monitor(display, static_cast<int>(i));
    present.monitors.push_back({names.names[i], gdk_monitor_is_primary(monitor) != FALSE});
  }
  return present;
}

GdkMonitor* monitorUnderPoint(GdkDisplay* display, ui::Point point) {
  const auto under = monitorUnder(point, geometries(display));
  return under ? gdk_display_get_monitor(display, static_cast<int>(*under)) : nullptr;
}

ui::Rect workAreaOf(GdkMonitor* monitor) {
  GdkRectangle area{};
  gdk_monitor_get_workarea(monitor, &area);
  return {{static_cast<double>(area.x), static_cast<double>(area.y)},
          {static_cast<double>(area.width), static_cast<double>(area.height)}};
}

}  // namespace kelpo::desktop
